// ASPX line classification.
#include "AspxCounter.h"

#include "ScriptPage.h"

const wxString AspxCounter::STYLE = "Aspx";

void AspxCounter::CountLines(const TextLines& lines, std::uint64_t& total, std::uint64_t& code,
                             std::uint64_t& comment, std::uint64_t&, std::uint64_t& blank) {
    bool inScript = false;
    bool inComment = false;
    ForEachScriptLine(lines, total, blank, [&](std::string_view line) {
        if (!inScript) {
            if (Contains(line, "<%")) {
                ++code;
                inScript = !Contains(line, "%>");
            }
            return;
        }
        if (inComment) {
            ++comment;
            if (EndsWith(line, "*/"))
                inComment = false;
            return;
        }
        if (CountByScriptRules(line, inScript, code, comment))
            return;
        if (Contains(line, "/*") && !Contains(line, "*/")) {
            ++comment;
            inComment = true;
        } else if (StartsWith(line, "/*") && EndsWith(line, "*/")) {
            ++comment;
        } else {
            ++code;
            if (Contains(line, "%>"))
                inScript = false;
        }
    });
}
