// JSP line classification.
#include "JspCounter.h"

#include "ScriptPage.h"
#include "WhiteSpace.h"

const wxString JspCounter::STYLE = "JSP";

void JspCounter::CountLines(const TextLines& lines, std::uint64_t& total, std::uint64_t& code,
                            std::uint64_t& comment, std::uint64_t&, std::uint64_t& blank) {
    bool inScript = false;
    for (std::string_view line : lines) {
        ++total;
        line = TrimRight(TrimLeft(line));
        if (line.empty()) {
            ++blank;
            continue;
        }
        if (!inScript) {
            if (Contains(line, "<%") && Contains(line, "%>")) {
                ++code;
            } else if (StartsWith(line, "<%")) {
                ++code;
                inScript = true;
            }
        } else if (line.size() == 1) {
            ++code;
        } else if (EndsWith(line, "%>")) {
            ++code;
            inScript = false;
        } else if (EndsLikeScriptCode(line) && StartsWith(line, "//")) {
            ++comment;
        } else if (EndsLikeScriptCode(line) && Contains(line, "//")) {
            ++code;
            ++comment;
        } else if (!Contains(line, "//") && !Contains(line, "<%") && !Contains(line, "%>")) {
            ++code;
        }
    }
}
