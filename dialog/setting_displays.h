#pragma once
// What the value labels and fields must be wide enough to show.

#include <string>
#include <vector>

// The texts a control must show whole: each value label's longest over its
// trackbars' whole ranges, the widest callsign, the highest SSID, every symbol,
// and the captions that have an id.
struct ControlTexts {
    int id;
    std::vector<std::string> texts;
};
std::vector<ControlTexts> textsShownWhole();
