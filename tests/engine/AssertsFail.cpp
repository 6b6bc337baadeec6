// Any assertion of the toolkit fails the test that meets it. Without a handler of its own a
// headless test only prints the assertion and passes, while the program shows a dialog.
#include <gtest/gtest.h>

#include <string>
#include <wx/debug.h>
#include <wx/string.h>

namespace {

void Fail(const wxString& file, int line, const wxString& func, const wxString& cond,
          const wxString& message) {
    const std::string where = file.utf8_string();
    ADD_FAILURE_AT(where.c_str(), line) << "assertion in " << func.utf8_string() << ": "
                                        << cond.utf8_string() << " " << message.utf8_string();
}

struct AssertsFail : testing::Environment {
    void SetUp() override { wxSetAssertHandler(Fail); }
};

testing::Environment* const g_assertsFail = testing::AddGlobalTestEnvironment(new AssertsFail);

} // namespace
