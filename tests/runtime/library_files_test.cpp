// Tests of the files beside the library (paths, data-file lists, log) and the platform services.
#include "runtime/library_files.h"

#include "platform/platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace vrn
{
namespace
{

namespace fs = std::filesystem;

/// A fresh, empty folder under the system's temporary folder; removed with its contents.
class ScratchFolder
{
public:
    explicit ScratchFolder(const std::string& name) : path(fs::temp_directory_path() / name)
    {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~ScratchFolder() { fs::remove_all(path); }

    void AddFile(const std::string& name) const { std::ofstream(path / name) << "x"; }
    void AddFolder(const std::string& name) const { fs::create_directories(path / name); }

    const fs::path path;
};

std::string ReadFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::set<std::string> DataFileSet(const std::string& folder)
{
    const std::vector<std::string> names = ListDataFiles(folder);
    return std::set<std::string>(names.begin(), names.end());
}

TEST(LibraryFiles, JoinDropsOneLeadingSeparatorAndKeepsTheLibraryFolder)
{
    const std::string plain = JoinLibraryPath("/opt/vst/gate.so", "data.txt");
    EXPECT_EQ(plain, "/opt/vst/data.txt");
    EXPECT_EQ(JoinLibraryPath("/opt/vst/gate.so", "\\data.txt"), plain);
    EXPECT_EQ(JoinLibraryPath("/opt/vst/gate.so", "/data.txt"), plain);
    EXPECT_EQ(JoinLibraryPath("/opt/vst/gate.so", "//data.txt"), "/opt/vst//data.txt");
    EXPECT_EQ(JoinLibraryPath("C:\\VST\\gate.dll", "a.png"), "C:\\VST\\a.png");
    EXPECT_EQ(JoinLibraryPath("C:\\VST/x\\gate.dll", "a.png"), "C:\\VST/x\\a.png");
}

TEST(LibraryFiles, LibraryNameWithoutSeparatorYieldsTheRelativeName)
{
    EXPECT_EQ(JoinLibraryPath("gate.dll", "data.txt"), "data.txt");
    EXPECT_EQ(JoinLibraryPath("", "\\data.txt"), "data.txt");
}

TEST(LibraryFiles, BackslashNamesFindFilesBesideTheLibrary)
{
    const std::string folder = LibraryFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(platform::LibraryFileName().rfind(folder, 0), 0u);

    const fs::path sub = fs::path(folder) / "vrn_library_files_test";
    fs::create_directories(sub);
    std::ofstream(sub / "knob.png") << "png";
    EXPECT_EQ(ReadFile(LibraryPath("\\vrn_library_files_test\\knob.png")), "png");
    EXPECT_EQ(ReadFile(LibraryPath("vrn_library_files_test/knob.png")), "png");
    fs::remove_all(sub);
}

TEST(LibraryFiles, ListsOnlyFilesThatDoNotStartWithADot)
{
    ScratchFolder data("vrn_list_data_files_test");
    EXPECT_TRUE(ListDataFiles(data.path.string()).empty());
    data.AddFolder("presets");
    data.AddFolder("more.d");
    data.AddFile(".hidden");
    data.AddFile(".knob.png");
    EXPECT_TRUE(ListDataFiles(data.path.string()).empty());

    data.AddFile("one.txt");
    data.AddFile("two.dat");
    data.AddFile("three");
    const std::set<std::string> expected = {"one.txt", "two.dat", "three"};
    EXPECT_EQ(DataFileSet(data.path.string()), expected);
    EXPECT_EQ(DataFileSet(data.path.string() + "/"), expected); // a trailing separator works too
    EXPECT_TRUE(ListDataFiles((data.path / "missing").string()).empty());
}

TEST(LibraryFiles, LogLineAppendsOneLinePerCall)
{
    ScratchFolder logs("vrn_log_line_test");
    const fs::path file = logs.path / "tovl.log.txt";
    AppendLogLine(file.string(), "first");
    AppendLogLine(file.string(), "second 100%");
    std::ifstream in(file); // text mode: a Windows "\r\n" reads back as "\n"
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "first\nsecond 100%\n");

    AppendLogLine((logs.path / "missing" / "log.txt").string(), "lost");
    EXPECT_FALSE(fs::exists(logs.path / "missing"));
}

} // namespace
} // namespace vrn
