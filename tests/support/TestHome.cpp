#include "tests/support/TempFolder.h"

#include <cstdlib>

namespace velkor::testing {

namespace {

void SetVariable(const char* name, const std::string& value) {
#ifdef _WIN32
    ::_putenv_s(name, value.c_str());
#else
    ::setenv(name, value.c_str(), 1);
#endif
}

} // namespace

void UseTemporaryHome() {
    static const TempFolder home;
    SetVariable("HOME", home.path().string());
    for (const auto& [name, folder] :
         {std::pair{"XDG_CONFIG_HOME", ".config"}, std::pair{"XDG_DATA_HOME", ".local/share"},
          std::pair{"XDG_CACHE_HOME", ".cache"}, std::pair{"XDG_STATE_HOME", ".local/state"}}) {
        std::filesystem::create_directories(home / folder);
        SetVariable(name, (home / folder).string());
    }
}

} // namespace velkor::testing
