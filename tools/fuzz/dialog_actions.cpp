#include "dialog_actions.h"

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

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

// Per configuration: callsign, SSID, symbol, path, comment; then the trackbars.
const int kEdits[] = {IdCallsign0, IdSsid0, IdSymbol0, IdPath0, IdComment0,
                      IdCallsign1, IdSsid1, IdSymbol1, IdPath1, IdComment1};
const int kTrackbars[] = {IdHops0, IdTxDelay0, IdDriveInterval0, IdDriveSpeed0, IdIdleFactor0, IdFrames0,
                          IdHops1, IdTxDelay1, IdDriveInterval1, IdDriveSpeed1, IdIdleFactor1, IdFrames1};
// Keys a user may press, control keys and Windows-1252 letters among them.
const char kKeys[] = "WIDE1-2,3 RELAYTRACECOMPRESSEDwide0123456789x\x80\xe9\xff\t\n\r\x7f\x01";

std::string repeated(const std::string& piece, int times) { return times > 0 ? piece + repeated(piece, times - 1) : ""; }

// Pasted, and given as paths in files.
const std::vector<std::string>& texts()
{
    static const std::vector<std::string> pool = {
        repeated("WIDE1-1,", 40) + "COMPRESSED", repeated("WIDE1-1,", 125), repeated("RELAY,", 50),
        "WIDE1-1,WIDE2-2,WIDE3-3", "WIDE1-1,COMPRESSED", "WIDE2-22", "WIDE2--5", "A,B C,D", "RELAY", "wide2-1",
        "line one\r\nline two", "tab\there", "\x7f\x01\x07" "bell", "\x80uro \xff", std::string(300, 'x'),
        "-1", "4294967295", "99999999999", "16", "15", "007", " 5", "", std::string(1, '\0') + "hidden",
        "WIDE1-1,WIDE2-2,WIDE3-3,WIDE4-4", std::string(60, 'c')};
    return pool;
}

std::string randomText(const ActionPicker& pick, unsigned maxLength, bool printable)
{
    std::string text(pick(maxLength + 1), ' ');
    for (char& c : text)
        c = static_cast<char>(printable ? "abcxyzABC0129 -,/>"[pick(18)] : pick(256));
    return text;
}

// A settings file: mostly taken, keys in any subset, values near and beyond their
// edges, paths and comments that fit or do not.
std::string randomFile(const ActionPicker& pick)
{
    static const std::pair<const char*, int> numbers[] = {{"digiHops", 3},       {"txDelay", 75}, {"driveInterval", 254},
                                                          {"driveSpeed", 100},   {"idleFactor", 100},
                                                          {"framesWithoutText", 50}, {"ssid", 15}};
    std::string file = pick(2) ? std::string("secondConfig = ") + (pick(2) ? "on\n" : "off\n") : "";
    for (const char* section : {"[config0]\n", "[config1]\n"}) {
        file += section;
        for (const auto& [key, maximum] : numbers) {
            if (pick(2))
                file += std::string(key) + " = " + std::to_string(pick(20) ? 1 + pick(static_cast<unsigned>(maximum)) : maximum + 1) + "\n";
        }
        for (const char* key : {"pathType", "path", "callsign", "comment"}) {
            if (!pick(2))
                continue;
            const std::string value = key[4] == 'T' ? std::string(pathTypeTable[pick(4)].name)
                                      : key[0] == 'p' && pick(2) ? texts()[pick(10) + 3]
                                                                 : randomText(pick, pick(3) ? 20 : 140, true);
            file += std::string(key) + " = " + value + "\n";
        }
    }
    return file;
}

std::string text(Dialog* dialog, int id) { return getItemText(dialog, id, 100000); }

bool strictSsid(const std::string& ssidText, int& ssid)
{
    ssid = 0;
    for (char c : ssidText) {
        if (c < '0' || c > '9' || (ssid = ssid * 10 + (c - '0')) > 15)
            return false;
    }
    return true;
}

// One configuration as its controls show it, and its SSID field's text.
struct Shown {
    ConfigSettings settings;
    std::string ssid;
};

Shown shown(Dialog* d, int n)
{
    Shown s;
    ConfigSettings& c = s.settings;
    std::string* texts[] = {&c.callsign, &s.ssid, &c.symbol, &c.path, &c.comment};
    int* numbers[] = {&c.digiHops, &c.txDelay, &c.driveInterval, &c.driveSpeed, &c.idleFactor, &c.framesWithoutText};
    for (int k = 0; k < 5; ++k)
        *texts[k] = text(d, kEdits[5 * n + k]);
    for (int k = 0; k < 6; ++k)
        *numbers[k] = getTrackbarPos(d, kTrackbars[6 * n + k]);
    int ssid = 0;
    strictSsid(s.ssid, ssid);
    c.ssid = static_cast<unsigned>(ssid);
    return s;
}

bool secondConfigShownOn(Dialog* d) { return text(d, IdSecondConfig) == "Disable 2nd Config"; }

// A configuration takes as many bytes as its record has values.
int bytesOf(const Shown& s) { return static_cast<int>(expectedRecord(s.settings, false).size()); }

struct Room {
    int config0, eeprom;
};

Room roomLeft(Dialog* d)
{
    const int used0 = bytesOf(shown(d, 0));
    return {53 - used0, 64 - used0 - (secondConfigShownOn(d) ? 1 + bytesOf(shown(d, 1)) : 0)};
}


std::string drain(int fd)
{
    std::string bytes;
    char buffer[4096];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, static_cast<std::size_t>(n));
    return bytes;
}

// The fields as a programming run read them, at its first pause (after the port opened).
struct Press {
    bool paused = false;
    Shown configs[2];
    bool second = false;
    Room room{};
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
        const Room room = roomLeft(run.dialog);
        if (room.config0 >= 0 && room.eeprom >= 0)
            return "settings that fit were refused: " + message;
    }
    return {};
}

// What arrived, read back value by value, is what the fields showed and fits.
std::string checkSent(ActionRun& run, const Press& press, const std::string& received)
{
    if (!press.paused)
        return received.empty() ? std::string() : "records were sent without the pause after the port opened";
    int ssid = 0;
    for (int n = 0; n < (press.second ? 2 : 1); ++n) {
        if (!strictSsid(press.configs[n].ssid, ssid))
            return "an SSID that is no number 0 to 15 was sent";
    }
    if (press.room.config0 < 0 || press.room.eeprom < 0)
        return "settings over the EEPROM were sent";
    const std::size_t second = received.find("$#Pe1");
    if ((second != std::string::npos) != press.second)
        return "the second record was sent or left out against the button's caption";
    std::vector<int> values;
    for (int n = 0; n < (press.second ? 2 : 1); ++n) {
        const std::string record = n == 0 ? received.substr(0, second) : received.substr(second);
        if (!readRecord(record, values) || values != expectedRecord(press.configs[n].settings, n == 0 && press.second))
            return "record " + std::to_string(n) + " is not what the fields show: " + record;
    }
    ++run.recordsSent;
    return {};
}

// After a run that sent: done, the log shows the records as they went out, and the
// tracker had its pauses: after the open, before record 1, before the close.
std::string checkAfterRun(Dialog* dialog, const Press& press, const std::string& received)
{
    const std::size_t second = received.find("$#Pe1");
    const std::string log =
        second == std::string::npos ? received : received.substr(0, second) + "\n" + received.substr(second);
    if (text(dialog, IdStatus) != "done." || text(dialog, IdLog) != log)
        return "after a run the status shows \"" + text(dialog, IdStatus) + "\", the log \"" + text(dialog, IdLog) + "\"";
    if (recordedPauses() != std::vector<unsigned>(press.second ? 3 : 2, 500))
        return "a run paused " + std::to_string(recordedPauses().size()) + " times";
    return {};
}

struct Performed {
    std::string action;
    std::vector<int> checked; // paths and comment 1 whose fit check ran
    int edit = 0;
    std::string before; // the edit's text before
    bool press = false;
    bool file = false;
};

void perform(ActionRun& run, const ActionPicker& pick, Performed& p)
{
    Dialog* dialog = run.dialog;
    const unsigned kind = pick(72);
    const int edit = p.edit = kEdits[pick(10)];
    p.before = text(dialog, edit);
    // Typed into once it has the focus, as a click or Tab gives it; mostly.
    if (kind < 28 && headlessFocusedId(dialog) != edit && pick(8)) {
        queueHeadlessChooserPresses({{static_cast<int>(pick(340)), static_cast<int>(pick(130))}, {10, 10}});
        headlessSetFocus(dialog, edit);
    }
    if (kind < 28)
        p.checked.push_back(edit);
    if (kind < 14) {
        const bool ssid = edit == IdSsid0 || edit == IdSsid1;
        const char key = ssid && pick(8) ? "0123456789-"[pick(11)] : kKeys[pick(sizeof kKeys - 1)];
        p.action = "a keystroke into " + std::to_string(edit);
        headlessType(dialog, edit, std::string(1, key));
    } else if (kind < 22) {
        const unsigned entry = pick(static_cast<unsigned>(texts().size()) + 1);
        const std::string pasted = entry < texts().size() ? texts()[entry] : randomText(pick, 300, false);
        p.action = "a paste of " + std::to_string(pasted.size()) + " characters into " + std::to_string(edit);
        headlessPaste(dialog, edit, pasted);
    } else if (kind < 28) {
        p.action = "Backspace in " + std::to_string(edit);
        headlessBackspace(dialog, edit, 1);
    } else if (kind < 30) {
        p.action = "clearing " + std::to_string(edit); // select all, Delete
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
    } else if (kind < 71) {
        p.action = "opening the port list";
        handleCommand(dialog, IdPort, NotifyDropDown);
        if (pick(2)) {
            setComboSelection(dialog, IdPort, 0);
            handleCommand(dialog, IdPort, NotifySelChange);
        }
    } else {
        p.action = "closing the dialog";
        headlessClose(dialog);
    }
}

// After an action: what the dialog shows holds together.
std::string checkShown(Dialog* dialog, const Performed& outer, bool onlyOuter, bool messages)
{
    const Room room = roomLeft(dialog);
    if (text(dialog, IdConfig0SpaceLeft) != std::to_string(room.config0) ||
        text(dialog, IdEepromSpaceLeft) != std::to_string(room.eeprom))
        return "the space displays do not show the room the fields leave";
    // A change of a path or of comment 1 leaves it within the EEPROM, or as the
    // compressed path or empty comment that cannot take less room.
    for (int id : onlyOuter ? outer.checked : std::vector<int>()) {
        if (id == outer.edit && text(dialog, id) == outer.before && !messages)
            continue; // a refused keystroke changes nothing and runs no check
        const std::string used = text(dialog, id).substr(0, 255);
        if (id == IdComment1 && room.eeprom < 0 && !used.empty())
            return "comment 1 left over the budget";
        const bool over = room.eeprom < 0 || (id == IdPath0 && room.config0 < 0);
        if ((id == IdPath0 || id == IdPath1) && over && !used.empty() && used.find("COMPRESSED") == std::string::npos)
            return "path " + std::to_string(id) + " left over the budget: " + used;
    }
    for (int id : kEdits) {
        for (char c : text(dialog, id)) {
            if (static_cast<unsigned char>(c) < 32 || c == 127)
                return "a control character in edit " + std::to_string(id);
        }
    }
    return {};
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
    close(run.tracker);
    close(run.device);
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
    Performed outer, nested;
    bool nestedRan = false;
    std::string problem;
    setMessageHook([&](const RecordedMessage& message) {
        const std::string refused = checkRefusal(run, message.text);
        problem = refused.empty() ? problem : refused;
        if (!nestedRan && !state.closed && pick(4) == 0) {
            nestedRan = true;
            ++run.actionsInMessageBoxes;
            perform(run, pick, nested);
        }
    });
    Press press;
    setPauseHook([&](unsigned) {
        if (!press.paused)
            press = {true, {shown(dialog, 0), shown(dialog, 1)}, secondConfigShownOn(dialog), roomLeft(dialog)};
    });
    perform(run, pick, outer);
    setMessageHook(nullptr);
    setPauseHook(nullptr);

    const std::vector<RecordedMessage> messages = recordedMessages();
    run.messages += messages.size();
    run.deepestHandlerDepth = std::max(run.deepestHandlerDepth, state.deepestHandlerDepth);
    run.starvedChoosers += static_cast<unsigned long>(headlessChooserStarvedRuns());
    if (state.handlerDepth != 0)
        problem = "a handler did not return";
    if (state.deepestHandlerDepth > kMaxHandlerDepth)
        problem = "handlers nested " + std::to_string(state.deepestHandlerDepth) + " deep";
    const std::string received = drain(run.tracker);
    if (state.closed) {
        ++run.closes;
        renewActionDialog(run);
    } else {
        // A file may show one box for each path its fields take in turn.
        std::map<std::string, int> kinds;
        for (const RecordedMessage& message : messages) {
            if (++kinds[message.text] > 1 && !outer.file && !nested.file && message.text.find(" doesn't fit ") != std::string::npos)
                problem = "\"" + message.text + "\" shown more than once";
        }
        run.presses += outer.press || nested.press;
        const std::string sent = outer.press || nested.press ? checkSent(run, press, received)
                                 : received.empty()           ? std::string()
                                                              : "bytes were sent without a press";
        const std::string afterRun = !sent.empty()     ? sent
                                     : press.paused    ? checkAfterRun(dialog, press, received)
                                     : recordedPauses().empty() ? std::string()
                                                                : "a pause without a run";
        const std::string wrong = checkShown(dialog, outer, !nestedRan, !messages.empty());
        if (text(dialog, IdPort) != "ttyUSB0")
            problem = "the port field shows \"" + text(dialog, IdPort) + "\" in place of the only port";
        problem = !afterRun.empty() ? afterRun : !wrong.empty() ? wrong : problem;
    }
    if (problem.empty())
        return problem;
    return "after " + outer.action + (nestedRan ? " with " + nested.action + " in a message box" : "") + " (action " +
           std::to_string(run.actions) + "): " + problem;
}
