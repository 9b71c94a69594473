// Texts read from the host's controls: a host that writes a text without
// its end still gives a terminated text, never what the buffer held before;
// a text that fills the whole buffer, or no host to read from, is no text.
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

// The host fills the whole buffer it was given, without a terminator.
std::int32_t FillTheWholeBuffer(std::int32_t, void* control, ...) {
    std::va_list arguments;
    va_start(arguments, control);
    char* buffer = va_arg(arguments, char*);
    const std::int32_t capacity = va_arg(arguments, std::int32_t);
    va_end(arguments);
    std::memset(buffer, 'x', static_cast<std::size_t>(capacity));
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

TEST(ControlText, ATextThatFillsTheBufferOrNoHostToReadGivesNoText) {
    const corvantide::HostApiTable saved = corvantide::HostApi;
    int control = 0;
    char text[16];

    corvantide::HostApi.fxControlGet = FillTheWholeBuffer;
    EXPECT_FALSE(corvantide::GetControlText(&control, text, sizeof text));
    EXPECT_EQ("", std::string(text));

    std::memset(text, 'z', sizeof text);
    EXPECT_FALSE(corvantide::GetControlText(nullptr, text, sizeof text));
    EXPECT_EQ("", std::string(text));

    corvantide::HostApi.fxControlGet = nullptr;
    std::memset(text, 'z', sizeof text);
    EXPECT_FALSE(corvantide::GetControlText(&control, text, sizeof text));
    EXPECT_EQ("", std::string(text));
    corvantide::HostApi = saved;
}

}  // namespace
}  // namespace corvantide_test
