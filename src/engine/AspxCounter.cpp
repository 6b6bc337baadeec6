// ASPX line classification.
#include "AspxCounter.h"

#include "ScriptPage.h"
#include "WhiteSpace.h"

const wxString AspxCounter::STYLE = "Aspx";

void AspxCounter::CountLines(const TextLines& lines, std::uint64_t& total, std::uint64_t& code,
                             std::uint64_t& comment, std::uint64_t&, std::uint64_t& blank) {
    bool inScript = false;
    bool inComment = false;
    for (std::string_view line : lines) {
        ++total;
        line = TrimRight(TrimLeft(line));
        if (line.empty()) {
            ++blank;
            continue;
        }
        if (!inScript) {
            if (Contains(line, "<%")) {
                ++code;
                inScript = !Contains(line, "%>");
            }
        } else if (inComment) {
            ++comment;
            if (EndsWith(line, "*/"))
                inComment = false;
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
        } else if (Contains(line, "/*") && !Contains(line, "*/")) {
            ++comment;
            inComment = true;
        } else if (StartsWith(line, "/*") && EndsWith(line, "*/")) {
            ++comment;
        } else if (Contains(line, "%>")) {
            ++code;
            inScript = false;
        } else {
            ++code;
        }
    }
}
