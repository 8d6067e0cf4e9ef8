#include "dialog_actions.h"

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

#include "chooser_headless.h"
#include "control_ids.h"
#include "dialog_headless.h"
#include "main_dialog.h"
#include "path_encoder.h"
#include "port_list.h"
#include "prompts_recorder.h"
#include "record_check.h"
#include "settings_io.h"

namespace {

const int kEdits[] = {IdCallsign0, IdSsid0, IdSymbol0, IdPath0, IdComment0,
                      IdCallsign1, IdSsid1, IdSymbol1, IdPath1, IdComment1};
const int kTrackbars[] = {IdHops0, IdTxDelay0, IdDriveInterval0, IdDriveSpeed0, IdIdleFactor0, IdFrames0,
                          IdHops1, IdTxDelay1, IdDriveInterval1, IdDriveSpeed1, IdIdleFactor1, IdFrames1};
// Keys a user may press, control keys and Windows-1252 letters among them.
const char kKeys[] = "WIDE1-2,3 RELAYTRACECOMPRESSEDwide0123456789x\x80\xe9\xff\t\n\r\x7f\x01";

std::string repeated(const std::string& piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

const std::vector<std::string>& pastePool()
{
    static const std::vector<std::string> pool = {
        repeated("WIDE1-1,", 40) + "COMPRESSED", repeated("WIDE1-1,", 125), repeated("RELAY,", 50),
        "WIDE1-1,WIDE2-2,WIDE3-3", "WIDE1-1,COMPRESSED", "WIDE2-22", "WIDE2--5", "A,B C,D", "RELAY",
        "line one\r\nline two", "tab\there", "\x7f\x01\x07" "bell", "\x80uro \xff", std::string(300, 'x'),
        "-1", "4294967295", "99999999999", "16", "15", "007", " 5", "", std::string(1, '\0') + "hidden",
        "WIDE1-1,WIDE2-2,WIDE3-3,WIDE4-4", std::string(60, 'c')};
    return pool;
}

std::string randomBytes(const ActionPicker& pick, unsigned maxLength)
{
    std::string text(pick(maxLength + 1), ' ');
    for (char& c : text)
        c = static_cast<char>(pick(256));
    return text;
}

std::string letters(const ActionPicker& pick, unsigned maxLength)
{
    static const char set[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 -,/>";
    std::string text(pick(maxLength + 1), ' ');
    for (char& c : text)
        c = set[pick(sizeof set - 1)];
    return text;
}

// A settings file: mostly valid, keys in any order and subset, values near and
// beyond their edges, paths and comments that fit or do not.
std::string randomFile(const ActionPicker& pick)
{
    static const char* paths[] = {"", "WIDE2-2", "wide1-1,wide2-1", "WIDE1-1,WIDE2-1,WIDE3-1", "RELAY",
                                  "WIDE1-1,WIDE2-2,WIDE3-3,WIDE4-4", "TRACE3-3", "COMPRESSED", "A B C D E"};
    static const char* types[] = {"compressed", "WIDEn-n", "TRACEn-n", "RELAY", "wideN-N"};
    struct Number {
        const char* key;
        int minimum, maximum;
    };
    static const Number numbers[] = {{"digiHops", 1, 3},      {"txDelay", 6, 75},     {"driveInterval", 5, 254},
                                     {"driveSpeed", 1, 100},  {"idleFactor", 1, 100}, {"framesWithoutText", 0, 50},
                                     {"ssid", 0, 15}};
    std::string file;
    if (pick(2))
        file += std::string("secondConfig = ") + (pick(2) ? "on" : "off") + "\n";
    for (int n = 0; n < 2; ++n) {
        if (!pick(4))
            continue;
        file += "[config" + std::to_string(n) + "]\n";
        for (const Number& number : numbers) {
            if (pick(2)) {
                const unsigned span = static_cast<unsigned>(number.maximum - number.minimum + 1);
                const int value = pick(20) ? number.minimum + static_cast<int>(pick(span)) : number.maximum + 1;
                file += std::string(number.key) + " = " + std::to_string(value) + "\n";
            }
        }
        if (pick(2))
            file += std::string("pathType = ") + types[pick(5)] + "\n";
        if (pick(2))
            file += "path = " + (pick(4) ? std::string(paths[pick(9)]) : letters(pick, 40)) + "\n";
        if (pick(2))
            file += "callsign = " + letters(pick, 9) + "\n";
        if (pick(2))
            file += "comment = " + letters(pick, pick(3) ? 20 : 140) + "\n";
    }
    return file;
}

std::string text(Dialog* dialog, int id) { return getItemText(dialog, id, 100000); }

// One configuration as its controls show it.
struct Shown {
    std::string callsign, ssid, symbol, path, comment;
    int hops, txDelay, interval, speed, idle, frames;
};

Shown shownConfig(Dialog* d, int n)
{
    const int c = n == 0 ? 0 : 6;
    const int e = n == 0 ? 0 : 5;
    return {text(d, kEdits[e]),
            text(d, kEdits[e + 1]),
            text(d, kEdits[e + 2]),
            text(d, kEdits[e + 3]),
            text(d, kEdits[e + 4]),
            getTrackbarPos(d, kTrackbars[c]),
            getTrackbarPos(d, kTrackbars[c + 1]),
            getTrackbarPos(d, kTrackbars[c + 2]),
            getTrackbarPos(d, kTrackbars[c + 3]),
            getTrackbarPos(d, kTrackbars[c + 4]),
            getTrackbarPos(d, kTrackbars[c + 5])};
}

bool shownSecondConfigOn(Dialog* d) { return text(d, IdSecondConfig) == "Disable 2nd Config"; }

// The path elements a shown path is sent as, through the encoder (tested on its own).
std::string elementsOf(const std::string& path)
{
    const std::string used = path.substr(0, 255);
    return used.empty() || used.find("COMPRESSED") != std::string::npos ? std::string() : encodePath(used);
}

// The bytes a shown configuration takes: 20 fixed values, 7 per path element, the
// comment (its first 127 characters) and the 0 after it.
int bytesOf(const Shown& s)
{
    return 21 + 7 * static_cast<int>(elementsOf(s.path).size() / 8) + static_cast<int>(std::min<std::size_t>(s.comment.size(), 127));
}

struct ShownBudget {
    int config0Left, eepromLeft;
};

ShownBudget shownBudget(Dialog* d)
{
    const bool on = shownSecondConfigOn(d);
    const int used0 = bytesOf(shownConfig(d, 0));
    return {53 - used0, 64 - used0 - (on ? 1 + bytesOf(shownConfig(d, 1)) : 0)};
}

bool strictSsid(const std::string& ssidText, int& ssid)
{
    ssid = 0;
    for (char c : ssidText) {
        if (c < '0' || c > '9' || (ssid = ssid * 10 + (c - '0')) > 15)
            return false;
    }
    return true;
}

// A record read back value by value against what the fields showed when it was sent.
std::string checkRecord(const std::vector<int>& v, const Shown& s, bool marker)
{
    std::vector<int> want;
    want.push_back(s.interval);
    want.push_back(96 + 2 * s.hops);
    for (std::size_t k = 0; k < 6; ++k)
        want.push_back(((k < s.callsign.size() ? static_cast<unsigned char>(s.callsign[k]) : ' ') << 1) & 0xFF);
    int ssid = 0;
    strictSsid(s.ssid, ssid);
    const std::string elements = elementsOf(s.path);
    want.push_back(2 * ssid + (elements.empty() ? 97 : 96));
    for (std::size_t at = 0; at < elements.size(); at += 8) {
        for (std::size_t k = 0; k < 6; ++k)
            want.push_back((static_cast<unsigned char>(elements[at + k]) << 1) & 0xFF);
        // Characters 7 and 8: blanks, a sign, digits; a minus gives 0, above 15 gives 15.
        std::size_t k = at + 6;
        while (k < at + 8 && elements[k] == ' ')
            ++k;
        const bool minus = k < at + 8 && elements[k] == '-';
        if (k < at + 8 && (elements[k] == '-' || elements[k] == '+'))
            ++k;
        int number = 0;
        for (; k < at + 8 && elements[k] >= '0' && elements[k] <= '9'; ++k)
            number = number * 10 + elements[k] - '0';
        want.push_back(2 * (minus ? 0 : std::min(number, 15)) + (at + 8 == elements.size() ? 1 : 0));
    }
    for (int constant : {3, 240, 96, 0})
        want.push_back(constant);
    want.push_back(static_cast<int>(s.speed * 0.62137 + 0.5));
    want.push_back(s.idle - 1);
    for (std::size_t k = 0; k < 2; ++k)
        want.push_back(k < s.symbol.size() ? static_cast<unsigned char>(s.symbol[k]) : 0);
    want.push_back(0);
    for (char c : s.comment.substr(0, 127))
        want.push_back(static_cast<unsigned char>(c));
    for (int value : {0, s.frames, s.txDelay})
        want.push_back(value);
    if (marker)
        want.push_back(255);
    if (v == want)
        return {};
    std::string got;
    for (int value : v)
        got += std::to_string(value) + ",";
    return "the record " + got + " is not what the fields show";
}

std::string drain(int fd)
{
    std::string bytes;
    char buffer[4096];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, static_cast<std::size_t>(n));
    return bytes;
}

// What one press of the programming button sent, against the fields as they were
// when the run paused before the first record; or its refusal, against the reason.
struct Press {
    bool paused = false;
    Shown configs[2];
    bool second = false;
    ShownBudget budget{};
};

// A refusal of the press, while its box is open, against what the fields show.
std::string checkRefusal(ActionRun& run, const std::string& message)
{
    int ssid = 0;
    if (message.rfind("SSID of Config ", 0) == 0) {
        ++run.ssidRefusals;
        if (strictSsid(text(run.dialog, kEdits[5 * (message[15] - '0') + 1]), ssid))
            return "an SSID that is a number 0 to 15 was refused";
    } else if (message.find("does not fit in EEprom (") != std::string::npos) {
        ++run.budgetRefusals;
        const ShownBudget b = shownBudget(run.dialog);
        if (b.config0Left >= 0 && b.eepromLeft >= 0)
            return "settings that fit were refused: " + message;
    }
    return {};
}

std::string checkPress(ActionRun& run, const Press& press, const std::string& received)
{
    if (!press.paused)
        return received.empty() ? std::string() : "records were sent without the pause after the port opened";
    int ssid = 0;
    for (int n = 0; n < (press.second ? 2 : 1); ++n) {
        if (!strictSsid(press.configs[n].ssid, ssid))
            return "an SSID that is no number 0 to 15 was sent";
    }
    if (press.budget.config0Left < 0 || press.budget.eepromLeft < 0)
        return "settings over the EEPROM were sent";
    const std::size_t second = received.find("$#Pe1");
    std::vector<int> values;
    if ((second != std::string::npos) != press.second)
        return "the second record was sent or left out against the button's caption";
    if (!readRecord(received.substr(0, second), values))
        return "the first record is malformed: " + received;
    std::string problem = checkRecord(values, press.configs[0], press.second);
    if (problem.empty() && press.second) {
        if (!readRecord(received.substr(second), values))
            return "the second record is malformed: " + received;
        problem = checkRecord(values, press.configs[1], false);
    }
    if (problem.empty())
        ++run.recordsSent;
    return problem;
}

struct Performed {
    std::string action;
    std::vector<int> checked; // paths and comment 1 whose fit check ran
    std::string before;       // the edited field's text before
    int edit = 0;
    bool press = false;
    bool file = false;
};

// One action on the dialog.
void perform(ActionRun& run, const ActionPicker& pick, Performed& p)
{
    Dialog* dialog = run.dialog;
    const unsigned kind = pick(70);
    const int edit = kEdits[pick(10)];
    p.edit = edit;
    p.before = text(dialog, edit);
    // A field is typed into once it has the focus, as a click or Tab gives it.
    auto focusFirst = [&] {
        if (headlessFocusedId(dialog) != edit) {
            queueHeadlessChooserPresses({{static_cast<int>(pick(340)), static_cast<int>(pick(130))}, {10, 10}});
            headlessSetFocus(dialog, edit);
        }
    };
    if (kind < 14) {
        const bool ssid = edit == IdSsid0 || edit == IdSsid1;
        const char key = ssid && pick(8) ? "0123456789-"[pick(11)] : kKeys[pick(sizeof kKeys - 1)];
        p.action = "a keystroke into " + std::to_string(edit);
        if (pick(8))
            focusFirst();
        headlessType(dialog, edit, std::string(1, key));
        p.checked.push_back(edit);
    } else if (kind < 22) {
        const unsigned entry = pick(static_cast<unsigned>(pastePool().size()) + 1);
        const std::string pasted = entry < pastePool().size() ? pastePool()[entry] : randomBytes(pick, 300);
        p.action = "a paste of " + std::to_string(pasted.size()) + " characters into " + std::to_string(edit);
        if (pick(8))
            focusFirst();
        headlessPaste(dialog, edit, pasted);
        p.checked.push_back(edit);
    } else if (kind < 28) {
        p.action = "Backspace in " + std::to_string(edit);
        focusFirst();
        headlessBackspace(dialog, edit, 1);
        p.checked.push_back(edit);
    } else if (kind < 30) {
        // Select all, Delete: one change to an empty text.
        p.action = "clearing " + std::to_string(edit);
        if (isItemEnabled(dialog, edit)) {
            setItemText(dialog, edit, "");
            p.checked.push_back(edit);
        }
    } else if (kind < 40) {
        const int trackbar = kTrackbars[pick(12)];
        p.action = "a drag of trackbar " + std::to_string(trackbar);
        if (isItemEnabled(dialog, trackbar)) {
            setTrackbarPos(dialog, trackbar, static_cast<int>(pick(320)) - 10);
            handleHScroll(dialog);
            p.checked = {IdPath0, IdPath1};
        }
    } else if (kind < 46) {
        const int combo = pick(2) ? IdPathType1 : IdPathType0;
        p.action = "a path type chosen in " + std::to_string(combo);
        if (isItemEnabled(dialog, combo)) {
            setComboSelection(dialog, combo, static_cast<int>(pick(kPathTypeCount)));
            handleCommand(dialog, combo, NotifySelChange);
            p.checked.push_back(combo == IdPathType0 ? IdPath0 : IdPath1);
        }
    } else if (kind < 52) {
        p.action = "focus on " + std::to_string(edit);
        std::vector<std::pair<int, int>> presses(3);
        for (auto& press : presses)
            press = {static_cast<int>(pick(360)) - 10, static_cast<int>(pick(150)) - 10};
        queueHeadlessChooserPresses(presses);
        if (pick(4) == 0)
            headlessFocusDialog(dialog);
        headlessSetFocus(dialog, edit);
    } else if (kind < 59) {
        p.action = "a click on the second configuration's button";
        if (isItemEnabled(dialog, IdSecondConfig)) {
            handleCommand(dialog, IdSecondConfig, NotifyClicked);
            p.checked.push_back(IdComment1);
        }
    } else if (kind < 65) {
        p.action = "a press of the programming button";
        p.press = true;
        handleCommand(dialog, IdProgram, NotifyClicked);
    } else if (kind < 69) {
        const std::string path = run.folder + "/settings.korvel";
        std::ofstream(path, std::ios::binary | std::ios::trunc) << randomFile(pick);
        p.action = "opening a settings file";
        p.file = true;
        ++run.filesOpened;
        openSettingsFile(dialog, path);
    } else {
        p.action = "closing the dialog";
        headlessClose(dialog);
    }
}

} // namespace

bool startActionRun(ActionRun& run)
{
    char name[128] = {};
    if (openpty(&run.tracker, &run.device, name, nullptr, nullptr) != 0)
        return false;
    fcntl(run.tracker, F_SETFL, fcntl(run.tracker, F_GETFL) | O_NONBLOCK);
    run.portName = name;
    run.folder = (std::filesystem::temp_directory_path() / ("korvel-actions-" + std::to_string(getpid()))).string();
    std::filesystem::create_directories(run.folder);
    renewActionDialog(run);
    return true;
}

void renewActionDialog(ActionRun& run)
{
    if (run.dialog)
        destroyHeadlessDialog(run.dialog);
    const PortEntry port{"ttyUSB0", run.portName, "", "", true, {}};
    clearRecordedPrompts();
    resetHeadlessChooser();
    run.dialog = createHeadlessDialog([port] { return std::vector<PortEntry>{port}; });
}

void endActionRun(ActionRun& run)
{
    destroyHeadlessDialog(run.dialog);
    run.dialog = nullptr;
    setMessageHook(nullptr);
    setPauseHook(nullptr);
    close(run.tracker);
    close(run.device);
    run.tracker = run.device = -1;
    std::filesystem::remove_all(run.folder);
}

std::string runOneAction(ActionRun& run, const ActionPicker& pick)
{
    Dialog* dialog = run.dialog;
    DialogState& state = dialogState(dialog);
    clearRecordedPrompts();
    resetHeadlessChooser();
    state.deepestHandlerDepth = 0;
    ++run.actions;

    // While a message box is open the dialog still takes input: now and then one
    // more action there, never deeper.
    Performed outer;
    Performed nested;
    bool nestedRan = false;
    std::string problem;
    setMessageHook([&](const RecordedMessage& message) {
        const std::string refused = checkRefusal(run, message.text);
        if (!refused.empty())
            problem = refused;
        if (!nestedRan && !state.closed && pick(4) == 0) {
            nestedRan = true;
            ++run.actionsInMessageBoxes;
            perform(run, pick, nested);
        }
    });
    // The fields as the run reads them, at its first pause (after the port opened).
    Press press;
    setPauseHook([&](unsigned) {
        if (press.paused)
            return;
        press.paused = true;
        press.configs[0] = shownConfig(dialog, 0);
        press.configs[1] = shownConfig(dialog, 1);
        press.second = shownSecondConfigOn(dialog);
        press.budget = shownBudget(dialog);
    });
    perform(run, pick, outer);
    setMessageHook(nullptr);
    setPauseHook(nullptr);

    const std::vector<RecordedMessage> shown = recordedMessages();
    run.messages += shown.size();
    const std::string received = drain(run.tracker);
    if (state.deepestHandlerDepth > run.deepestHandlerDepth)
        run.deepestHandlerDepth = state.deepestHandlerDepth;
    if (state.handlerDepth != 0)
        problem = "a handler did not return";
    if (state.deepestHandlerDepth > kMaxHandlerDepth)
        problem = "handlers nested " + std::to_string(state.deepestHandlerDepth) + " deep";
    run.starvedChoosers += static_cast<unsigned long>(headlessChooserStarvedRuns());

    if (state.closed) {
        ++run.closes;
        renewActionDialog(run);
        return problem.empty() ? problem : "after " + outer.action + ": " + problem;
    }

    // A file may show one box for each path its fields take in turn.
    std::map<std::string, int> kinds;
    for (const RecordedMessage& message : shown) {
        if (++kinds[message.text] > 1 && !outer.file && !nested.file && message.text.find(" doesn't fit ") != std::string::npos)
            problem = "\"" + message.text + "\" shown more than once";
    }
    if (outer.press || nested.press) {
        ++run.presses;
        const std::string pressProblem = checkPress(run, press, received);
        if (!pressProblem.empty())
            problem = pressProblem;
    } else if (!received.empty()) {
        problem = "bytes were sent without a press";
    }

    const ShownBudget budget = shownBudget(dialog);
    if (text(dialog, IdConfig0SpaceLeft) != std::to_string(budget.config0Left) ||
        text(dialog, IdEepromSpaceLeft) != std::to_string(budget.eepromLeft))
        problem = "the space displays do not show the budget of the fields";
    // A change of a path or of comment 1 leaves it within the EEPROM, or as the
    // compressed path or empty comment that cannot take less room.
    for (int id : nestedRan ? std::vector<int>() : outer.checked) {
        if (id == outer.edit && text(dialog, id) == outer.before && shown.empty())
            continue; // a refused keystroke changes nothing and runs no check
        if (id == IdComment1 && budget.eepromLeft < 0 && !text(dialog, id).empty())
            problem = "comment 1 left over the budget";
        const std::string used = text(dialog, id).substr(0, 255);
        const bool over = budget.eepromLeft < 0 || (id == IdPath0 && budget.config0Left < 0);
        if ((id == IdPath0 || id == IdPath1) && over && !used.empty() && used.find("COMPRESSED") == std::string::npos)
            problem = "path " + std::to_string(id) + " left over the budget: " + text(dialog, id);
    }
    for (int id : kEdits) {
        for (char c : text(dialog, id)) {
            if (static_cast<unsigned char>(c) < 32 || c == 127)
                problem = "a control character in edit " + std::to_string(id);
        }
    }
    if (problem.empty())
        return problem;
    return "after " + outer.action + (nestedRan ? " with " + nested.action + " in a message box" : "") + " (action " +
           std::to_string(run.actions) + "): " + problem;
}
