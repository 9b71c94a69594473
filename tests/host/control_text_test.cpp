// Texts read from the host's controls: a host that writes a text without
// its end still gives a terminated text, never what the buffer held before.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstring>
#include <string>

#include "host/host_api.h"
#include "host/interface_services.h"

namespace corvantide_test {
namespace {

// The host copies the control's four characters and no terminator.
std::int32_t WriteWithoutEnd(std::int32_t, void* control, ...) {
    // The variadic form is the host's own; its arguments are read as it passes them.
    std::va_list arguments;
    va_start(arguments, control);
    char* buffer = va_arg(arguments, char*);
    va_end(arguments);
    std::memcpy(buffer, "C:\\x", 4);
    return 1;
}

TEST(ControlText, AHostThatWritesNoEndStillGivesATerminatedText) {
    const corvantide::HostApiTable saved = corvantide::HostApi;
    corvantide::HostApi.fxControlGet = WriteWithoutEnd;
    int control = 0;
    char text[16];
    std::memset(text, 'z', sizeof text);
    EXPECT_TRUE(corvantide::GetControlText(&control, text, sizeof text));
    EXPECT_EQ("C:\\x", std::string(text));
    corvantide::HostApi = saved;
}

}  // namespace
}  // namespace corvantide_test
