#include "tracker_setup.h"

#include <algorithm>
#include <cstdio>

#include "config_record.h"
#include "windows1252.h"

namespace {

// Configuration 1 may come back by itself only with this much room to spare.
constexpr int kRoomForSecondConfig = 22;

// What a comment limit of 0 or below becomes: no practical limit.
constexpr unsigned kEditDefaultLimit = 0x7FFFFFFE;

// The path check reads through a 1024-byte buffer; a limit, through 256 bytes.
constexpr std::size_t kPathCheckChars = 1023;
constexpr std::size_t kLimitChars = 255;
// The SSID of a press is read through a 1024-byte buffer.
constexpr std::size_t kSsidChars = 1023;

enum MessageKind { PathMessage = 1, CommentMessage = 2 };

// A transition under way: the setup it works on, what it has noticed, and the
// rules of the user action it is in.
struct Work {
    TrackerSetup setup;
    std::vector<SetupNotice> notices;
    unsigned shownKinds = 0; // one message of each kind per user action
    bool repairing = false;  // a check's own write-back is not checked again
};

ConfigEntry& entry(Work& w, int n) { return w.setup.configs[n]; }
std::string& path(Work& w, int n) { return entry(w, n).settings.path; }
std::string& comment(Work& w, int n) { return entry(w, n).settings.comment; }

int bytesOver(const EepromBudget& budget)
{
    return std::max({0, -budget.config0SpaceLeft, -budget.eepromSpaceLeft});
}

bool pathFits(int n, const EepromBudget& budget)
{
    return budget.eepromSpaceLeft >= 0 && (n == 1 || budget.config0SpaceLeft >= 0);
}

// A new user action: its messages are counted afresh.
void beginAction(Work& w) { w.shownKinds = 0; }

void notice(Work& w, int n, SettingId setting, const EepromBudget& budget, bool withMessage)
{
    const unsigned kind = setting == SettingPath ? PathMessage : CommentMessage;
    const bool shown = withMessage && !(w.shownKinds & kind);
    if (shown)
        w.shownKinds |= kind;
    w.notices.push_back({n, setting, bytesOver(budget), shown});
}

void setText(Work& w, int n, SettingId setting, const std::string& text);

void setSecondConfig(Work& w, bool enabled)
{
    w.setup.secondConfigEnabled = enabled;
    w.setup.secondConfigButtonEnabled = enabled;
}

void applyMinimum(Work& w, int n, int minimum)
{
    ConfigEntry& e = entry(w, n);
    const DriveIntervalBounds bounds = applyMinimumDriveInterval(e.settings.driveInterval, minimum);
    e.driveIntervalMinimum = bounds.lowerBound;
    e.settings.driveInterval = bounds.driveInterval;
}

// Too long a path loses two characters at a time while it holds a comma or a
// space, else becomes "COMPRESSED", until it fits; the first kPathChars
// characters are what the budget counts. A compressed path takes the least room:
// when even that does not fit, the other texts are too long and the path stays.
void checkPathFits(Work& w, int n)
{
    if (w.repairing)
        return;
    const EepromBudget budget = setupBudget(w.setup);
    if (pathFits(n, budget))
        return;
    notice(w, n, SettingPath, budget, true);
    TrackerSetup trial = w.setup;
    std::string text = path(w, n).substr(0, kPathCheckChars);
    bool changed = false;
    bool compressed = false;
    while (!isCompressedPath(text.substr(0, kPathChars))) {
        if (text.find_first_of(", ") != std::string::npos) {
            text.resize(text.size() >= 2 ? text.size() - 2 : 0);
        } else {
            text = pathTextFor(Compressed, 0);
            compressed = true;
        }
        changed = true;
        trial.configs[n].settings.path = text;
        if (pathFits(n, setupBudget(trial)))
            break;
    }
    if (!changed)
        return;
    if (compressed)
        entry(w, n).settings.pathType = Compressed;
    w.repairing = true;
    setText(w, n, SettingPath, text);
    w.repairing = false;
}

// Too long a comment 1 is emptied; an empty one that still does not fit stays.
void checkComment1Fits(Work& w)
{
    if (w.repairing)
        return;
    const EepromBudget budget = setupBudget(w.setup);
    if (budget.eepromSpaceLeft >= 0)
        return;
    notice(w, 1, SettingComment, budget, true);
    if (!comment(w, 1).empty()) {
        w.repairing = true;
        setText(w, 1, SettingComment, "");
        w.repairing = false;
    }
}

// Comment 0 switches configuration 1 off when it leaves no room, and on again
// (unless it was switched off by hand) when it leaves enough.
void switchSecondConfigAutomatically(Work& w)
{
    TrackerSetup& s = w.setup;
    const EepromBudget budget = setupBudget(s);
    if (budget.eepromSpaceLeft < 0 && s.secondConfigEnabled) {
        notice(w, 0, SettingComment, budget, false);
        setSecondConfig(w, false);
        return;
    }
    if (budget.eepromSpaceLeft >= kRoomForSecondConfig && !s.secondConfigOffByUser) {
        setSecondConfig(w, true);
        return;
    }
    s.secondConfigButtonEnabled = budget.eepromSpaceLeft >= kRoomForSecondConfig || s.secondConfigEnabled;
}

// A comment's limit: its present length (of the first kLimitChars characters)
// plus the space left; with writeBack its text is cut to that and written again.
void limitComment(Work& w, int n, int spaceLeft, bool writeBack)
{
    std::string text = comment(w, n).substr(0, kLimitChars);
    const int allowed = allowedTextLength(static_cast<int>(text.size()), spaceLeft);
    entry(w, n).commentLimit = static_cast<unsigned>(allowed);
    if (static_cast<std::size_t>(allowed) < text.size())
        text.resize(static_cast<std::size_t>(allowed));
    if (writeBack)
        setText(w, n, SettingComment, text);
}

// A text written into a field, and what the field's change sets off.
void setText(Work& w, int n, SettingId setting, const std::string& text)
{
    w.setup = withText(w.setup, n, setting, text);
    if (setting == SettingPath)
        checkPathFits(w, n);
    else if (setting == SettingComment && n == 0)
        switchSecondConfigAutomatically(w);
    else if (setting == SettingComment)
        checkComment1Fits(w);
}

void choosePathType(Work& w, int n, PathType type)
{
    entry(w, n).settings.pathType = type;
    const int hops = entry(w, n).settings.digiHops;
    setText(w, n, SettingPath, pathTextFor(type, hops));
    // Also when the fit check fell back to "COMPRESSED": the choice was made.
    applyMinimum(w, n, minimumDriveInterval(type, hops));
}

void rewritePath(Work& w, int n)
{
    const ConfigSettings& s = entry(w, n).settings;
    const PathType type = s.pathType;
    const int hops = s.digiHops;
    setText(w, n, SettingPath, pathTextFor(type, hops));
    if (type == WideNN || type == TraceNN)
        applyMinimum(w, n, minimumDriveInterval(type, hops));
}

// What a comment takes when typed into: comment 0 up to the space left in the
// Config0 area, comment 1 up to the space left in the EEPROM (see focusComment).
// Configuration 1 switched off keeps its comment as it is, uncounted.
std::string typedComment(Work& w, int n, const std::string& text)
{
    const EepromBudget budget = setupBudget(w.setup);
    const int limit = n == 0 ? allowedTextLength(0, budget.config0SpaceLeft) : budget.eepromSpaceLeft;
    if ((n == 1 && (limit <= 0 || !w.setup.secondConfigEnabled)) || text.size() <= static_cast<std::size_t>(limit))
        return text;
    TrackerSetup whole = w.setup;
    whole.configs[n].settings.comment = text;
    notice(w, n, SettingComment, setupBudget(whole), false);
    return text.substr(0, static_cast<std::size_t>(limit));
}

SetupStep done(Work& w) { return {w.setup, w.notices}; }

// What the press and a save say of an SSID that is no number 0 to 15.
std::string ssidRefusal(int n)
{
    char text[128];
    std::snprintf(text, sizeof text, "SSID of Config %d must be a number from 0 to 15.", n);
    return text;
}

} // namespace

const char* noticeMessage(const SetupNotice& notice)
{
    return notice.setting == SettingPath ? "path doesn't fit in EEprom" : "comment text doesn't fit in EEprom.";
}

EepromBudget setupBudget(const TrackerSetup& setup)
{
    return computeEepromBudget(Tiny13, setup.configs[0].settings, setup.configs[1].settings,
                               setup.secondConfigEnabled);
}

TrackerSetup withText(TrackerSetup setup, int configNumber, SettingId setting, const std::string& text)
{
    ConfigEntry& e = setup.configs[configNumber];
    const SettingKind kind = settingDescriptions[setting].kind;
    // A field's text ends at a NUL, as a window's does.
    std::string value = text.substr(0, text.find('\0'));
    if (kind == SettingUpperText || kind == SettingSsidText) {
        for (char& c : value)
            c = static_cast<char>(windows1252Upper(static_cast<unsigned char>(c)));
    }
    if (kind == SettingSsidText) {
        e.ssidText = value;
        if (!ssidFromText(value, e.settings.ssid))
            e.settings.ssid = 0;
    } else if (std::string* field = settingText(e.settings, setting)) {
        *field = value;
    }
    return setup;
}

TrackerSetup withSliderPosition(TrackerSetup setup, int configNumber, SettingId setting, int position)
{
    ConfigEntry& e = setup.configs[configNumber];
    if (int* field = settingNumber(e.settings, setting)) {
        const int minimum = setting == SettingDriveInterval ? e.driveIntervalMinimum : settingDescriptions[setting].minimum;
        *field = std::clamp(position, minimum, settingDescriptions[setting].maximum);
    }
    return setup;
}

SetupStep editText(const TrackerSetup& setup, int configNumber, SettingId setting, const std::string& text)
{
    Work w{setup, {}, 0, false};
    setText(w, configNumber, setting, text);
    return done(w);
}

SetupStep choosePathType(const TrackerSetup& setup, int configNumber, PathType type)
{
    Work w{setup, {}, 0, false};
    choosePathType(w, configNumber, type);
    return done(w);
}

SetupStep moveSliders(const TrackerSetup& setupWithPositions)
{
    Work w{setupWithPositions, {}, 0, false};
    // Each path write runs that path's fit check before the next one is written.
    rewritePath(w, 0);
    rewritePath(w, 1);
    return done(w);
}

SetupStep focusComment(const TrackerSetup& setup, int configNumber)
{
    Work w{setup, {}, 0, false};
    const EepromBudget budget = setupBudget(w.setup);
    if (configNumber == 0) {
        limitComment(w, 0, budget.config0SpaceLeft, false);
    } else {
        // Comment 1's limit counts the whole text; with no room left it gets none at
        // all and its fit check refuses what overflows.
        const int limit = budget.eepromSpaceLeft;
        entry(w, 1).commentLimit = limit > 0 ? static_cast<unsigned>(limit) : kEditDefaultLimit;
    }
    return done(w);
}

SetupStep pressSecondConfig(const TrackerSetup& setup)
{
    Work w{setup, {}, 0, false};
    TrackerSetup& s = w.setup;
    s.secondConfigEnabled = !s.secondConfigEnabled;
    s.secondConfigOffByUser = !s.secondConfigOffByUser;
    const EepromBudget budget = setupBudget(s);
    limitComment(w, 0, budget.config0SpaceLeft, false);
    // Switched on, configuration 1's comment is cut by what does not fit.
    limitComment(w, 1, budget.eepromSpaceLeft, true);
    return done(w);
}

SetupStep openSettings(const TrackerSetup& setup, const SettingsFile& file)
{
    Work w{setup, {}, 0, false};
    TrackerSetup& s = w.setup;
    // Empty comments and compressed paths first, without a message: with
    // configuration 1 off by hand nothing switches on by itself meanwhile, and once
    // the comments are empty a compressed path fits.
    s.secondConfigEnabled = false;
    s.secondConfigOffByUser = true;
    for (int n = 0; n < 2; ++n) {
        beginAction(w);
        setText(w, n, SettingComment, "");
        entry(w, n).settings.pathType = Compressed;
        beginAction(w);
        setText(w, n, SettingPath, pathTextFor(Compressed, 0));
        entry(w, n).driveIntervalMinimum = driveIntervalRange.minimum;
    }
    // Configuration 1 as the file says, as if by a click on the button.
    s.secondConfigEnabled = file.secondConfigEnabled;
    s.secondConfigOffByUser = !file.secondConfigEnabled;
    s.secondConfigButtonEnabled = true;

    for (int n = 0; n < 2; ++n) {
        const ConfigSettings& f = file.configs[n].settings;
        for (int id = 0; id < kSettingCount; ++id) {
            if (const int* position = settingNumber(f, static_cast<SettingId>(id)))
                s = withSliderPosition(s, n, static_cast<SettingId>(id), *position);
        }
    }
    beginAction(w);
    rewritePath(w, 0);
    rewritePath(w, 1);
    for (int n = 0; n < 2; ++n) {
        beginAction(w);
        choosePathType(w, n, file.configs[n].settings.pathType);
    }
    for (int n = 0; n < 2; ++n) {
        if (file.configs[n].pathGiven) {
            beginAction(w);
            setText(w, n, SettingPath, file.configs[n].settings.path);
        }
    }
    for (int n = 0; n < 2; ++n) {
        const ConfigSettings& f = file.configs[n].settings;
        setText(w, n, SettingCallsign, f.callsign.substr(0, kCallsignChars));
        setText(w, n, SettingSsid, std::to_string(f.ssid));
        setText(w, n, SettingSymbol, f.symbol);
    }
    for (int n = 0; n < 2; ++n) {
        beginAction(w);
        setText(w, n, SettingComment, typedComment(w, n, file.configs[n].settings.comment));
    }
    return done(w);
}

std::string doesNotFitText(int configNumber, const char* field, int bytesOver)
{
    char text[128];
    std::snprintf(text, sizeof text, "Config %d%s%s does not fit in EEprom (%d %s too many)", configNumber,
                  field ? " " : "", field ? field : "", bytesOver, bytesOver == 1 ? "byte" : "bytes");
    return text;
}

ProgrammingRecords programmingRecords(const TrackerSetup& setup)
{
    ProgrammingRecords records;
    const bool second = setup.secondConfigEnabled;
    ConfigSettings configs[2] = {setup.configs[0].settings, setup.configs[1].settings};
    for (int n = 0; n < (second ? 2 : 1); ++n) {
        if (!ssidFromText(setup.configs[n].ssidText.substr(0, kSsidChars), configs[n].ssid)) {
            records.refusal = ssidRefusal(n);
            return records;
        }
    }
    // The checks keep the settings within the EEPROM while they are edited, but a
    // path that fits only beside a configuration 1 switched off can be left over
    // when it is switched on again: nothing is sent that the tracker cannot hold.
    const EepromBudget budget = setupBudget(setup);
    if (budget.config0SpaceLeft < 0 || budget.eepromSpaceLeft < 0) {
        const int over = budget.config0SpaceLeft < 0 || !second ? 0 : 1;
        records.refusal = doesNotFitText(over, nullptr, bytesOver(budget));
        return records;
    }
    records.record0 = buildConfigRecord(configs[0], 0, second);
    records.record1 = buildConfigRecord(configs[1], 1, second);
    records.sendRecord1 = second;
    return records;
}

int settingsFileOf(const TrackerSetup& setup, std::string& text, std::string& refusal)
{
    // Every file written can be opened again, and a file takes SSIDs 0 to 15 only.
    ConfigSettings configs[2];
    for (int n = 0; n < 2; ++n) {
        configs[n] = setup.configs[n].settings;
        if (!ssidFromText(setup.configs[n].ssidText, configs[n].ssid)) {
            refusal = ssidRefusal(n);
            return 0;
        }
    }
    text = settingsFileText(configs, setup.secondConfigEnabled);
    return 1;
}
