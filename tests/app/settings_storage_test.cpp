// A settings file in a folder named with characters outside Windows-1252, opened
// and saved on the dialog and named in its messages as it is; the files are made
// and read back through std::filesystem.
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "control_ids.h"
#include "dialog_headless.h"
#include "prompts_recorder.h"
#include "settings_io.h"

namespace {

namespace fs = std::filesystem;

TEST(SettingsStorage, AFolderNamedOutsideWindows1252IsOpenedSavedAndNamedAsItIs)
{
    const fs::path folder = fs::temp_directory_path() / fs::u8path("korvel-\xC5\x81\xC3\xB3" "d\xC5\xBA \xCE\xA9mega");
    const fs::path file = folder / fs::u8path("\xC5\x81\xC3\xB3" "d\xC5\xBA \xCE\xA9mega.korvel"); // Łódź Ωmega
    fs::create_directories(folder);
    std::ofstream(file) << "[config0]\ncallsign = dl1abc\n";
    const std::string name = file.u8string();
    Dialog* dialog = createHeadlessDialog();
    clearRecordedPrompts();
    EXPECT_EQ(openSettingsFile(dialog, name), 1);
    setItemText(dialog, IdComment0, "saved");
    EXPECT_EQ(saveSettingsFile(dialog, name), 1);
    const std::string saved = (std::stringstream() << std::ifstream(file).rdbuf()).str();
    EXPECT_NE(saved.find("callsign = DL1ABC\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("comment = saved\n"), std::string::npos);
    EXPECT_TRUE(recordedMessages().empty());

    std::ofstream(file) << "[config0]\ncalsign = X\n";
    EXPECT_EQ(openSettingsFile(dialog, name), 0);
    EXPECT_EQ(saveSettingsFile(dialog, folder.u8string()), 0); // a folder is no file to replace
    ASSERT_EQ(recordedMessages().size(), 2u);
    EXPECT_EQ(recordedMessages()[0].text, name + ", line 2, \"calsign\": unknown key in [config0]");
    EXPECT_EQ(recordedMessages()[1].text, "cannot save " + folder.u8string() + ": is a folder, not a file");
    EXPECT_TRUE(fs::is_directory(folder));
    destroyHeadlessDialog(dialog);
    fs::remove_all(folder);
}

} // namespace
