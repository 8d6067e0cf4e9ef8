/* Ids of the main dialog (template 1), the symbol chooser (template 115), their
   controls and the other resources. Read by the code and by the resource script,
   hence #defines. */
#ifndef KORVEL_CONTROL_IDS_H
#define KORVEL_CONTROL_IDS_H

#define IdProgram 1077
#define IdSecondConfig 1080
#define IdDriveInterval0 1086
#define IdDriveSpeed0 1087
#define IdIdleFactor0 1088
#define IdFrames0 1089
#define IdTxDelay0 1090
#define IdDriveInterval1 1092
#define IdDriveSpeed1 1093
#define IdIdleFactor1 1094
#define IdFrames1 1095
#define IdTxDelay1 1096
#define IdHops0 1098
#define IdHops1 1099
#define IdTiny13 1100
#define IdTiny2313 1101
#define IdMega8 1102
#define IdCallsign0 1103
#define IdDriveIntervalValue0 1104
#define IdDriveSpeedValue0 1105
#define IdIdleIntervalValue0 1106
#define IdSsid0 1107
#define IdSymbol0 1108
#define IdComment0 1109
#define IdFramesValue0 1110
#define IdTxDelayValue0 1111
#define IdPath0 1112
#define IdPath1 1113
#define IdComment1 1114
#define IdCallsign1 1117
#define IdDriveIntervalValue1 1118
#define IdIdleIntervalValue1 1120
#define IdSsid1 1121
#define IdSymbol1 1122
#define IdFramesValue1 1123
#define IdDriveSpeedValue1 1124
#define IdTxDelayValue1 1125
#define IdHopCount0 1133
#define IdConfig0SpaceLeft 1135
#define IdEepromSpaceLeft 1136
#define IdCallsignLabel1 1137
#define IdSsidLabel1 1138
#define IdSymbolLabel1 1139
#define IdHopCount1 1147
#define IdTxDelayLabel1 1150
#define IdDriveIntervalLabel1 1151
#define IdIdleFactorLabel1 1152
#define IdDriveSpeedLabel1 1153
#define IdCommentLabel1 1154
#define IdFramesLabel1 1155
#define IdHopsLabel1 1156
#define IdChooserLabel 1157
#define IdConfig1Group 1159
#define IdPort 1163
#define IdBaud 1164
#define IdLog 1165
#define IdStatus 1166
#define IdPathType0 1167
#define IdPathType1 1168
#define IdPathLabel1 1169

#define ResMainDialog 1
#define ResChooserDialog 115
#define ResSymbolBitmap 134
#define ResIcon 142

#endif
