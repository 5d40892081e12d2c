// set_env.h: sets or unsets one environment variable for a test, on Linux
// and Windows alike.
#pragma once
#include <cstdlib>

namespace testsupport {

// Sets the variable, or unsets it when the value is null. The Windows C
// runtime cannot hold an empty value: there "" unsets it too.
inline void SetEnv(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value != nullptr ? value : "");
#else
    if (value != nullptr) {
        setenv(name, value, 1);
    } else {
        unsetenv(name);
    }
#endif
}

}  // namespace testsupport
