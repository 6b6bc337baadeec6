// The bench as a script runs it: its status, what it prints, and what it leaves behind.
#include "TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// A rules path that is no regular file is refused at once, naming it; a rules file that does
// not load fails the bench with the reason. Either way it counts nothing, and no scratch
// folder is left in TMPDIR, as none is after a run that succeeds.
TEST(BenchTest, ARulesFileThatIsNoFileOrDoesNotLoadFailsTheBench) {
    const struct {
        const char* conf;
        int status;
        const char* says; // on standard error, or for status 0 on standard output
    } cases[] = {
        {"/dev/zero", 1, "/dev/zero is not a regular file"},
        {"FIFO", 1, "FIFO is not a regular file"},
        {"folder", 1, "folder is not a regular file"},
        {"socket", 1, "socket is not a regular file"},
        {"missing", 1, "missing cannot be read"},
        {"malformed", 1, "malformed: XML parsing error"},
        {"too deep", 1, "could not be read: DIR/too deep"},
        {"other root", 1, "other root has no <rules> root element"},
        {"rules", 0, "files 1 lines 3 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.conf);
        TempDir dir;
        dir.Write("tree/a.cpp", "int main() {\n    return 0;\n}\n");
        const wxString tmp = dir.MakeDir("tmp");
        const wxString conf = c.conf[0] == '/' ? wxString(c.conf) : dir / c.conf;
        const std::string name = c.conf;
        if (name == "FIFO") {
            mkfifo(conf.fn_str(), 0644);
        } else if (name == "folder") {
            dir.MakeDir(c.conf);
        } else if (name == "socket") {
            dir.MakeSocket(c.conf);
        } else if (name == "malformed") {
            dir.Write(c.conf, "<rules><rule>");
        } else if (name == "too deep") {
            std::string open, close;
            for (int i = 0; i < 300; ++i) {
                open += "<a>";
                close += "</a>";
            }
            dir.Write(c.conf, "<rules>" + open + close + "</rules>");
        } else if (name == "other root") {
            dir.Write(c.conf, "<other/>");
        } else if (name == "rules") {
            dir.Write(c.conf, ReadFile(wxString(TALLYWICK_SOURCE_DIR) + "/conf/conf.xml"));
        }
        // A bench that waits for ever fails here with the status of timeout.
        const wxString command =
            wxString::Format("TMPDIR='%s' timeout 20 '%s' '%s' --conf '%s' > '%s' 2> '%s'", tmp,
                             TALLYWICK_BENCH, dir / "tree", conf, dir / "out", dir / "err");
        const int status = std::system(command.utf8_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), c.status);
        const std::string out = ReadFile(dir / "out"), err = ReadFile(dir / "err");
        wxString says = c.says;
        says.Replace("DIR", dir.Path());
        EXPECT_NE((c.status ? err : out).find(says.utf8_string()), std::string::npos)
            << "out: " << out << "err: " << err;
        if (c.status) {
            EXPECT_EQ(out, "");
        }
        EXPECT_TRUE(std::filesystem::is_empty(tmp.ToStdString()));
    }
}
} // namespace
