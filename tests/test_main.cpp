// The one test main of the suite.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    // "\n" line ends, as on Linux: CTest reads the list of cases from this
    // output (under Wine for the Windows build) and would keep each "\r".
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
