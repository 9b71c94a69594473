// The simulated host's services as the plug-in calls them: plain functions
// with the host's argument lists, forwarding to the current SimHost.
#include <cstdarg>
#include <cstring>
#include <string>

#include "host_services.h"
#include "sim_host.h"

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace simhost {

namespace {

SimHost& Host() { return SimHost::Current(); }

// The host's texts are in the ANSI code page on Windows, bytes on Linux.
const char* NextCharacter(const char* at) {
#if defined(_WIN32)
    return CharNextExA(CP_ACP, at, 0);
#else
    return at + 1;
#endif
}

void* Allocate(std::uint64_t count, std::uint64_t size) { return Host().AllocateBlock(count, size); }
void Release(void* block) { Host().ReleaseBlock(block); }
void* Lookup(const char* name) { return Host().LookupName(name, false); }
void* PlatformLookup(const char* name) { return Host().LookupName(name, true); }

void* CreateInstanceData(void* item, void* module, std::int32_t zero, std::int32_t size) {
    return Host().CreateInstance(item, module, zero, size);
}
void* GetInstanceData(void* item, void* module, std::int32_t zero) {
    return Host().GetInstance(item, module, zero);
}
void FreeInstanceData(void* item, void* module, std::int32_t zero) { Host().FreeInstance(item, module, zero); }
std::int32_t GetHierarchyList(std::uint64_t root, void** list) { return Host().HierarchyList(root, list); }
void FreeHierarchyList(void** list) { Host().FreeHierarchy(list); }
void UpdateFXInterface(std::int32_t flags) { Host().Update(flags); }
void GetChannels(void* item, std::int32_t group, double time, double* out) {
    Host().Scene().Named(item);
    Host().Scene().WorldChannels(item, group, time, out);
}
void FindFileName(const char* path, char* name, char* directory) {
    Host().Journal("FindFileName");
    SplitFileName(path, name, directory);
}
void FindHierarchyMatch() { Host().Report("FindHierarchyMatch called"); }

void* BlockCreate(const char* title, const char* second, std::int32_t third, ControlCallback callback) {
    return Host().Ui().BlockCreate(title, second, third, callback);
}
void* ControlCreate(const char* type, const char* label, ControlCallback callback, ...) {
    va_list arguments;
    va_start(arguments, callback);
    void* control = Host().Ui().ControlCreate(type, label, callback, &arguments);
    va_end(arguments);
    return control;
}
std::int32_t ControlSet(std::int32_t code, void* control, ...) {
    va_list arguments;
    va_start(arguments, control);
    const std::int32_t result = Host().Ui().ControlSet(code, control, &arguments);
    va_end(arguments);
    return result;
}
std::int32_t ControlGet(std::int32_t code, void* control, ...) {
    va_list arguments;
    va_start(arguments, control);
    const std::int32_t result = Host().Ui().ControlGet(code, control, &arguments);
    va_end(arguments);
    return result;
}
void ControlRedraw(void* control, std::int32_t now) { Host().Ui().ControlRedraw(control, now); }
std::int32_t ConfirmMessage(std::int32_t first, std::int32_t lineCount, const char* line1, const char* line2) {
    return Host().Ui().Confirm(first, lineCount, line1, line2);
}
std::int32_t FileRequest(char* result, std::int32_t resultSize, char* fileName, std::int32_t nameArgument,
                         char* directory, char* remembered, const char* title, std::int32_t a, std::int32_t b,
                         void* c) {
    return Host().Ui().FileRequest(result, resultSize, fileName, nameArgument, directory, remembered, title, a,
                                   b, c);
}

template <typename Fn>
void* Address(Fn function) {
    void* address = nullptr;
    static_assert(sizeof function == sizeof address);
    std::memcpy(&address, &function, sizeof address);
    return address;
}

}  // namespace

void SplitFileName(const char* path, char* name, char* directory) {
    constexpr std::size_t kCapacity = 1024;
    name[0] = '\0';
    directory[0] = '\0';
    if (path == nullptr) return;
    const std::string text(path, strnlen(path, kCapacity * 4));
    // By character: in a double-byte code page a second byte may be 0x5C.
    std::size_t cut = std::string::npos;
    for (const char* at = text.c_str(); *at != '\0'; at = NextCharacter(at)) {
        if (*at == '\\' || *at == '/') cut = static_cast<std::size_t>(at - text.c_str());
    }
    const std::string namePart = cut == std::string::npos ? text : text.substr(cut + 1);
    const std::string directoryPart = cut == std::string::npos ? std::string() : text.substr(0, cut);
    const auto put = [](char* out, const std::string& part) {
        const std::size_t length = part.size() < kCapacity ? part.size() : kCapacity - 1;
        std::memcpy(out, part.data(), length);
        out[length] = '\0';
    };
    put(name, namePart);
    put(directory, directoryPart);
}

ServiceAddresses TheServices() {
    ServiceAddresses services;
    services.allocate = Address(&Allocate);
    services.release = Address(&Release);
    services.lookup = Address(&Lookup);
    services.platformLookup = Address(&PlatformLookup);
    services.functions = {
        {"CreateInstanceData", Address(&CreateInstanceData)},
        {"GetInstanceData", Address(&GetInstanceData)},
        {"FreeInstanceData", Address(&FreeInstanceData)},
        {"GetHierarchyList", Address(&GetHierarchyList)},
        {"FreeHierarchyList", Address(&FreeHierarchyList)},
        {"UpdateFXInterface", Address(&UpdateFXInterface)},
        {"GetChannels", Address(&GetChannels)},
        {"FindFileName", Address(&FindFileName)},
        {"FindHierarchyMatch", Address(&FindHierarchyMatch)},
        {"fxBlockCreate", Address(&BlockCreate)},
        {"fxControlCreate", Address(&ControlCreate)},
        {"fxControlSet", Address(&ControlSet)},
        {"fxControlGet", Address(&ControlGet)},
        {"fxControlRedraw", Address(&ControlRedraw)},
        {"ConfirmMessage", Address(&ConfirmMessage)},
        {"FX_FileRequest", Address(&FileRequest)},
    };
    return services;
}

}  // namespace simhost
