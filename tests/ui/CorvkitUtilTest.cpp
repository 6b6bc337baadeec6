// The desktop utilities: small text files beside the executable and the version text.
#include "CorvkitUtil.h"
#include "ExecutablePath.h"
#include "UiTestSupport.h"

#include <unistd.h>
#include <wx/file.h>
#include <wx/filefn.h>

namespace {
class CorvkitUtilTest : public testing::Test {
protected:
    void TearDown() override { wxRemoveFile(Path()); }
    // Beside the test program, named for this process so that no two runs meet.
    wxString Name() const { return wxString::Format("/corvkit-%d.txt", int(getpid())); }
    wxString Path() const { return GetExecutableDir() + Name(); }
    void WriteBytes(const char* bytes) {
        wxFile file(Path(), wxFile::write);
        ASSERT_EQ(file.Write(bytes, strlen(bytes)), strlen(bytes));
    }
};

// The first line is read without trailing blanks; what is written reads back the same.
TEST_F(CorvkitUtilTest, TextFilesBesideTheProgramReadTheirFirstLineAsWritten) {
    EXPECT_EQ(ReadAppDirTextFile(Name()), ""); // missing
    // Bytes that are not UTF-8 are read as ISO-8859-1.
    const std::pair<const char*, wxString> cases[] = {
        {"", ""}, {"  4.1.0.0 \t\r\nsecond line\n", "  4.1.0.0"}, {"caf\xE9\n", L"caf\u00E9"}};
    for (const auto& [bytes, text] : cases) {
        WriteBytes(bytes);
        EXPECT_EQ(ReadAppDirTextFile(Name()), text) << bytes;
    }
    WriteBytes("an older and much longer content\nwith two lines\n");
    const wxString text = wxString::FromUTF8("Zählung 行数");
    WriteAppDirTextFile(Name(), text);
    EXPECT_EQ(ReadAppDirTextFile(Name()), text);
    EXPECT_EQ(wxFile(Path()).Length(), wxFileOffset(strlen("Zählung 行数")));

    WriteAppDirTextFile("/no-such-folder" + Name(), "lost");
    ASSERT_FALSE(uitest::LoggedMessages().empty());
    EXPECT_TRUE(uitest::LoggedMessages().Last().Contains("could not be written"));
    EXPECT_EQ(GetVersionString(), "4.0.2.0");
}
} // namespace
