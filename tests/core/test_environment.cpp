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
        if (!mkdtemp(pattern))
            return;
        m_base = pattern;
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "XDG_DATA_HOME", "XDG_DATA_DIRS"}) {
            mkdir((m_base + '/' + name).c_str(), 0700);
            setenv(name, (m_base + '/' + name).c_str(), 1);
        }
        setenv("TZ", "UTC", 1);
        unsetenv("LUMO_REGISTRY");
        unsetenv("LUMO_DEVICE_ROOT");
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
