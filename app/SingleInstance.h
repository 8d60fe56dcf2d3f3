#pragma once

#include <memory>
#include <string>

class QLockFile;

// One running sorvel per executable: a lock file named after the executable's path in the user's
// runtime folder. A lock left by a killed instance is recognised as stale and taken over.
class SingleInstance
{
public:
    SingleInstance();
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // Works before the application object exists, so a second start costs next to nothing.
    bool acquire(const std::string &executablePath);
    static std::string currentExecutablePath(const char *argv0);

private:
    std::unique_ptr<QLockFile> lock_;
};
