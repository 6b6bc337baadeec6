// Loading and saving large rules files: the seconds the manager takes to load one and write
// it back, beside the toolkit's own load and save of the same document as the reference.
// Files of one long text, attribute or comment are measured against the toolkit's load and
// save of a file of the usual layout and the same size, since the toolkit takes minutes
// over such texts.
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

const std::string kDecl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
const std::string kRule = "<rule><type>C</type><desc>c</desc></rule>";
const std::size_t k10MB = 10 << 20;

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A rules file of `rules` rules sharing `extensions` extensions among them.
std::string MakeRules(int rules, int extensions) {
    std::string text = kDecl + "<rules>\n";
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

// The piece repeated to 10 MB.
std::string Repeated(const std::string& piece) {
    std::string text;
    text.reserve(k10MB + piece.size());
    while (text.size() < k10MB)
        text += piece;
    return text;
}

void WriteRulesFile(const std::string& text) {
    wxFileName::Mkdir("conf", 0700, wxPATH_MKDIR_FULL);
    std::FILE* file = std::fopen("conf/conf.xml", "wb");
    if (!file || std::fwrite(text.data(), 1, text.size(), file) != text.size()) {
        std::fprintf(stderr, "cannot write the rules file\n");
        std::exit(1);
    }
    std::fclose(file);
}

// The toolkit's own load and save of the rules file, and its parse alone.
double Toolkit(double* parse = nullptr) {
    auto start = Clock::now();
    wxXmlDocument reference("conf/conf.xml");
    if (parse)
        *parse = Since(start);
    wxMemoryOutputStream sink;
    reference.Save(sink, 1);
    return Since(start);
}

struct Run {
    double load = 0, save = 0;
    bool loaded = false, saved = false;
};

// The manager's load of the rules file and its save after one edit.
Run Manager() {
    Run run;
    auto start = Clock::now();
    CountingManager manager;
    manager.Init();
    run.load = Since(start);
    run.loaded = !manager.m_ruleMap.empty();
    if (!run.loaded)
        return run;
    // Unchanged rules are not written: one edit, so that the save is measured.
    manager.m_ruleMap.begin()->second->m_strDesc += " (edited)";
    start = Clock::now();
    run.saved = manager.SaveRules();
    run.save = Since(start);
    return run;
}

void Print(const char* what, std::size_t bytes, const Run& run) {
    std::printf("%s (%.1f MB): load %.3f s + save %.3f s = %.3f s%s\n", what, bytes / 1e6, run.load,
                run.save, run.load + run.save,
                !run.loaded ? " (NOT LOADED)"
                : run.saved ? ""
                            : " (save FAILED)");
}

// Returns the toolkit's load and save time per MB, the reference for the other shapes.
double Measure(const char* what, int rules, int extensions) {
    const std::string text = MakeRules(rules, extensions);
    WriteRulesFile(text);
    double parse = 0;
    const double toolkit = Toolkit(&parse);
    const Run run = Manager();
    Print(what, text.size(), run);
    std::printf("  toolkit parse alone %.3f s, toolkit load+save %.3f s (ratio %.2f)\n", parse,
                toolkit, (run.load + run.save) / toolkit);
    return toolkit / (text.size() / 1e6);
}

void MeasureShape(const char* what, const std::string& text, double toolkitPerMB) {
    WriteRulesFile(text);
    const Run run = Manager();
    Print(what, text.size(), run);
    std::printf("  ratio %.2f to the toolkit's load+save of the usual layout, same size\n",
                (run.load + run.save) / (toolkitPerMB * text.size() / 1e6));
}

std::string WithDesc(const std::string& desc) {
    return kDecl + "<rules><rule><type>C</type><desc>" + desc + "</desc></rule></rules>\n";
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
    const double perMB = Measure("30,000 rules, one extension each", 30000, 30000);
    Measure("10 rules, 100,000 extensions", 10, 100000);
    MeasureShape("a description of one long token", WithDesc(Repeated("d")), perMB);
    MeasureShape("a description of lines of 80 characters",
                 WithDesc(Repeated(std::string(79, 'x') + "\n")), perMB);
    MeasureShape("a description of line feeds only", WithDesc(Repeated("\n")), perMB);
    MeasureShape("a description of &amp; only", WithDesc(Repeated("&amp;")), perMB);
    MeasureShape("a description of &#9; only", WithDesc(Repeated("&#9;")), perMB);
    MeasureShape("an attribute of one long token",
                 kDecl + "<rules kind=\"" + Repeated("k") + "\">" + kRule + "</rules>\n", perMB);
    MeasureShape("a comment of one long token",
                 kDecl + "<rules><!--" + Repeated("c") + "-->" + kRule + "</rules>\n", perMB);
    MeasureShape("elements <a/> under the root",
                 kDecl + "<rules>" + kRule + Repeated("<a/>") + "</rules>\n", perMB);
    wxSetWorkingDirectory(oldCwd);
    wxFileName::Rmdir(scratch, wxPATH_RMDIR_RECURSIVE);
    return 0;
}
