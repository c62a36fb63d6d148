// The one check of the desktop console tests: counts, and names what failed.
#pragma once
#include <cstdio>
#include <string>

namespace lt::win32::testing {

class Checks {
public:
    void expect(bool ok, const std::string& what) {
        if (ok) {
            ++passed_;
            return;
        }
        ++failed_;
        std::printf("FAIL: %s\n", what.c_str());
        std::fflush(stdout);
    }
    // Prints the closing line; the exit status of the run.
    int summary() const {
        std::printf("%d passed, %d failed\n", passed_, failed_);
        return failed_ ? 1 : 0;
    }

private:
    int passed_ = 0, failed_ = 0;
};

void testMessageFilter(Checks& checks);
void testFont(Checks& checks);
void testMessageBoxOwner(Checks& checks);
void testRegistry(Checks& checks);
void testWindowGuard(Checks& checks);
void testScreenDensity(Checks& checks);
void testProgramTexts(Checks& checks);
void testAccessibleObject(Checks& checks);
void testKeyboardCues(Checks& checks);
void testPageKeys(Checks& checks);
void testLinkKeys(Checks& checks);

}  // namespace lt::win32::testing
