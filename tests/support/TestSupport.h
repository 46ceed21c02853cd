#pragma once
// Shared by every test program: a temporary folder that cleans up after itself, whole-file reads
// and writes, and running a program with its exit status and output captured.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <ftw.h>
#include <iterator>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& path, const std::string& data) {
    std::ofstream(path, std::ios::binary)
        .write(data.data(), static_cast<std::streamsize>(data.size()));
}

// A fresh folder below $TMPDIR (or /tmp), removed with everything in it when the object goes.
class TempDir {
public:
    TempDir() {
        const char* base = std::getenv("TMPDIR");
        dir_ = std::string(base && *base ? base : "/tmp") + "/quimbel-test-XXXXXX";
        if (!::mkdtemp(&dir_[0])) throw std::runtime_error("cannot create a temporary folder");
    }
    ~TempDir() {
        ::nftw(
            dir_.c_str(),
            [](const char* path, const struct stat*, int, struct FTW*) { return ::remove(path); },
            16, FTW_DEPTH | FTW_PHYS);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Dir() const { return dir_; }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

private:
    std::string dir_;
};

struct RunResult {
    int status = -1; // exit status, -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs a shell command line in folder Dir and captures what it writes to stdout and stderr.
inline RunResult RunProgram(const std::string& commandLine, const std::string& dir) {
    TempDir capture;
    const std::string command = "cd '" + dir + "' && " + commandLine + " >'" +
                                capture.Path("out") + "' 2>'" + capture.Path("err") + "'";
    RunResult r;
    const int raw = std::system(command.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = ReadFile(capture.Path("out"));
    r.err = ReadFile(capture.Path("err"));
    return r;
}

} // namespace testsupport
