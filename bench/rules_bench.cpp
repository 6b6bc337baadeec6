// Loading and saving large rules files: the seconds the manager takes to load one and write
// it back, beside the toolkit's own load and save of the same document as the reference.
//   rules_bench
#include "CounterRule.h"
#include "CountingManager.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/init.h>
#include <wx/mstream.h>
#include <wx/xml/xml.h>

namespace {
using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A rules file of `rules` rules sharing `extensions` extensions among them.
std::string MakeRules(int rules, int extensions) {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rules>\n";
    for (int r = 0; r < rules; ++r) {
        const std::string type = "Style" + std::to_string(r);
        text += "  <rule>\n    <type>" + type + "</type>\n    <desc>Description of style " +
                std::to_string(r) +
                "</desc>\n    <single-line-comment>//</single-line-comment>\n"
                "    <multi-line-comment-begin>/*</multi-line-comment-begin>\n"
                "    <multi-line-comment-end>*/</multi-line-comment-end>\n";
        for (int e = r; e < extensions; e += rules)
            text += "    <extension>\n      <name>.ext" + std::to_string(e) +
                    "</name>\n      <desc>Files of kind " + std::to_string(e) +
                    "</desc>\n      <ruletype>" + type + "</ruletype>\n    </extension>\n";
        text += "  </rule>\n";
    }
    return text + "</rules>\n";
}

void Measure(const char* what, int rules, int extensions) {
    const std::string text = MakeRules(rules, extensions);
    wxFileName::Mkdir("conf", 0700, wxPATH_MKDIR_FULL);
    std::FILE* file = std::fopen("conf/conf.xml", "wb");
    if (!file || std::fwrite(text.data(), 1, text.size(), file) != text.size()) {
        std::fprintf(stderr, "cannot write the rules file\n");
        std::exit(1);
    }
    std::fclose(file);

    // The references: the toolkit's parser alone, which every load goes through, and the
    // toolkit's own load and save of the same document.
    auto start = Clock::now();
    wxXmlDocument reference("conf/conf.xml");
    const double parse = Since(start);
    wxMemoryOutputStream sink;
    reference.Save(sink, 1);
    const double toolkit = Since(start);

    start = Clock::now();
    CountingManager manager;
    manager.Init();
    const double load = Since(start);
    // Unchanged rules are not written: one edit, so that the save is measured.
    manager.m_ruleMap.begin()->second->m_strDesc += " (edited)";
    start = Clock::now();
    const bool saved = manager.SaveRules();
    const double save = Since(start);
    std::printf("%s (%.1f MB): load %.3f s + save %.3f s = %.3f s%s\n"
                "  toolkit parse alone %.3f s, toolkit load+save %.3f s (ratio %.2f)\n",
                what, text.size() / 1e6, load, save, load + save, saved ? "" : " (save FAILED)",
                parse, toolkit, (load + save) / toolkit);
}
} // namespace

int main() {
    wxInitializer init;
    if (!init.IsOk())
        return 1;
    char scratch[] = "/tmp/tallywick-rules-bench-XXXXXX";
    if (!mkdtemp(scratch))
        return 1;
    const wxString oldCwd = wxGetCwd();
    wxSetWorkingDirectory(scratch);
    Measure("30,000 rules, one extension each", 30000, 30000);
    Measure("10 rules, 100,000 extensions", 10, 100000);
    wxSetWorkingDirectory(oldCwd);
    wxFileName::Rmdir(scratch, wxPATH_RMDIR_RECURSIVE);
    return 0;
}
