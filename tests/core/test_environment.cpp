// Every core test run gets its own home, configuration, data and runtime folders
// and a fixed time zone, so no test touches the user's files or depends on
// where it runs. Set before main, so static state sees them too.
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct TestEnvironment {
    TestEnvironment()
    {
        char pattern[] = "/tmp/lumo-core-tests-XXXXXX";
        const char* dir = mkdtemp(pattern);
        if (!dir)
            return;
        const std::string base = dir;
        for (const char* sub : {"/home", "/config", "/runtime", "/data", "/data-dirs"})
            mkdir((base + sub).c_str(), 0700);
        setenv("HOME", (base + "/home").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (base + "/config").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", (base + "/runtime").c_str(), 1);
        setenv("XDG_DATA_HOME", (base + "/data").c_str(), 1);
        setenv("XDG_DATA_DIRS", (base + "/data-dirs").c_str(), 1);
        setenv("TZ", "UTC", 1);
        unsetenv("LUMO_REGISTRY");
        unsetenv("LUMO_DEVICE_ROOT");
        m_base = base;
    }
    ~TestEnvironment()
    {
        if (!m_base.empty())
            std::system(("rm -rf '" + m_base + "'").c_str());
    }
    std::string m_base;
};

const TestEnvironment g_environment;

}  // namespace
