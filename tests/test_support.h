#pragma once
// Shared helpers for the tests: a fresh App with a recording host, and temporary folders.
#include <string>

#include "host/host_services.h"
#include "app/app_state.h"

namespace ts::test {

// A temporary folder that is removed (with its content) when the object goes away. The
// current directory is restored too.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;

private:
    std::string path_;
    std::string savedCwd_;
};

// Fresh program state with every subsystem initialised, answering boxes from a script.
struct TestApp {
    TestApp();
    RecordingHost host;
    App app{host};
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);

// Runs a shell command and gives what it printed on standard output and error; `status` gets
// the command's status as pclose gives it (-1 when it could not be started).
std::string runCommand(const std::string& command, int& status);

}  // namespace ts::test
