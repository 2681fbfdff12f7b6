#include "platform/faults.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {
struct Fault {
    int skip;
    int count;
};
std::map<std::string, Fault>& Faults()
{
    static std::map<std::string, Fault> faults;
    return faults;
}
}  // namespace

void FailNextCalls(const char* service, int count, int skip)
{
    Faults()[service] = Fault{skip, count};
}

void ClearFaults()
{
    Faults().clear();
}

bool ShouldFail(const char* service)
{
    auto& faults = Faults();
    if (faults.empty()) return false;
    auto it = faults.find(service);
    if (it == faults.end()) return false;
    if (it->second.skip > 0) {
        --it->second.skip;
        return false;
    }
    if (--it->second.count <= 0) faults.erase(it);
    return true;
}

[[noreturn]] void NotImplemented(const char* service)
{
    std::fprintf(stderr, "numbrix: platform service not implemented: %s\n", service);
    std::abort();
}
