// Addresses of the simulated host's service functions, by host name.
#pragma once

#include <map>
#include <string>

namespace simhost {

struct ServiceAddresses {
    void* allocate = nullptr;
    void* release = nullptr;
    void* lookup = nullptr;
    void* platformLookup = nullptr;
    std::map<std::string, void*> functions;
};

ServiceAddresses TheServices();

// The host's FindFileName: the name after the last separator (backslash or
// slash) and the directory before it, without the separator. Both outputs are
// 1024-byte buffers.
void SplitFileName(const char* path, char* name, char* directory);

}  // namespace simhost
