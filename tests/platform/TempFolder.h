#pragma once
// A fresh temporary folder for one test, removed with everything in it afterwards.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <system_error>

namespace velkor::testing {

class TempFolder {
public:
    TempFolder() {
        // A new folder of a random name: creating it fails when the name is taken.
        std::random_device random;
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = std::filesystem::temp_directory_path() /
                    ("velkor-" + std::to_string(random()) + std::to_string(random()));
            if (std::filesystem::create_directory(path_))
                return;
        }
        throw std::runtime_error("no temporary folder could be created");
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

    // Creates a file (and its folders) holding `text`.
    std::filesystem::path file(const std::string& name, const std::string& text = {}) const {
        const std::filesystem::path p = path_ / name;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << text;
        return p;
    }

private:
    std::filesystem::path path_;
};

// The whole content of a file, bytes as they are.
inline std::string Slurp(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Sets (or with nullptr unsets) an environment variable for the lifetime of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old, hadOld_ = true;
        Set(name, value);
    }
    ~ScopedEnv() { Set(name_.c_str(), hadOld_ ? old_.c_str() : nullptr); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    static void Set(const char* name, const char* value) {
#ifdef _WIN32
        ::_putenv_s(name, value ? value : ""); // an empty value removes the variable
#else
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
#endif
    }

    std::string name_, old_;
    bool hadOld_ = false;
};

} // namespace velkor::testing
