// JSP line classification.
#include "JspCounter.h"

#include "ScriptPage.h"

const wxString JspCounter::STYLE = "JSP";

void JspCounter::CountLines(const TextLines& lines, std::uint64_t& total, std::uint64_t& code,
                            std::uint64_t& comment, std::uint64_t&, std::uint64_t& blank) {
    bool inScript = false;
    ForEachScriptLine(lines, total, blank, [&](std::string_view line) {
        if (!inScript) {
            if (Contains(line, "<%") && Contains(line, "%>")) {
                ++code;
            } else if (StartsWith(line, "<%")) {
                ++code;
                inScript = true;
            }
            return;
        }
        // A line with a stray marker belongs to neither code nor comment.
        if (!CountByScriptRules(line, inScript, code, comment) && !Contains(line, "//") &&
            !Contains(line, "<%") && !Contains(line, "%>"))
            ++code;
    });
}
