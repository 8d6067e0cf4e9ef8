/* The two dialog templates' own values: size in dialog units, caption and font.
   Read by the code and by the resource script, hence #defines. */
#ifndef KORVEL_TEMPLATES_H
#define KORVEL_TEMPLATES_H

#include "korvel_version.h" /* KORVEL_MAIN_CAPTION, made from the project's version */

#define KORVEL_FONT_NAME "MS Shell Dlg"
#define KORVEL_FONT_POINTS 10

#define KORVEL_MAIN_WIDTH 339
#define KORVEL_MAIN_HEIGHT 284

#define KORVEL_CHOOSER_CAPTION "Choose APRS-Symbol"
#define KORVEL_CHOOSER_WIDTH 199
#define KORVEL_CHOOSER_HEIGHT 80

#endif
