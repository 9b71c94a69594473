// Motion file texts shaped exactly as the exporter writes them.
#pragma once

#include <string>

namespace corvantide_test {

inline const std::string kPlaceholderBody =
    "{ Envelope\n"
    "  1\n"
    "  Key 0 0 0 0 0 0 0 0 0\n"
    "  Behaviors 1 1\n"
    "}\n";

inline std::string ChannelBlock(int channel, const std::string& body) {
    return "Channel " + std::to_string(channel) + "\n" + body;
}

// An item keyed at frames 0, 15 and 30 at 30 fps: position X with TCB keys,
// heading with Bezier handles, scale Y stepped; the rest have no keys.
inline std::string KeyedItemFile() {
    std::string text = "LWMO\n3\n\nNumChannels 9\n";
    text += ChannelBlock(0,
                         "{ Envelope\n"
                         "  3\n"
                         "  Key 0.000000 0.000000 0 0.000000 0.000000 0.000000 0.000000 0.000000 0\n"
                         "  Key 2.500000 0.500000 0 0.300000 0.000000 -0.500000 0.000000 0.000000 0\n"
                         "  Key -1.250000 1.000000 0 0.000000 0.000000 0.000000 0.000000 0.000000 0\n"
                         "  Behaviors 1 1\n"
                         "}\n");
    for (int channel = 1; channel < 3; ++channel) {
        text += ChannelBlock(channel, kPlaceholderBody);
    }
    text += ChannelBlock(3,
                         "{ Envelope\n"
                         "  2\n"
                         "  Key 0.000000 0.000000 2 0.000000 0.000000 0.000000 0.000000 0.785398 0\n"
                         "  Key 1.570796 1.000000 2 0.000000 0.000000 0.000000 -0.392699 0.000000 0\n"
                         "  Behaviors 3 2\n"
                         "}\n");
    for (int channel = 4; channel < 7; ++channel) {
        text += ChannelBlock(channel, kPlaceholderBody);
    }
    text += ChannelBlock(7,
                         "{ Envelope\n"
                         "  2\n"
                         "  Key 1.000000 0.000000 4 0.000000 0.000000 0.000000 0.000000 0.000000 0\n"
                         "  Key 2.000000 0.500000 4 0.000000 0.000000 0.000000 0.000000 0.000000 0\n"
                         "  Behaviors 0 5\n"
                         "}\n");
    text += ChannelBlock(8, kPlaceholderBody);
    return text;
}

// A camera sampled over frames 10 .. 12 at 24 fps: six channels, Constant behaviours.
inline std::string SampledCameraFile() {
    std::string text = "LWMO\n3\n\nNumChannels 6\n";
    for (int channel = 0; channel < 6; ++channel) {
        text += ChannelBlock(channel,
                             "{ Envelope\n"
                             "  3\n"
                             "  Key 1.000000 0.416667 0 0.000000 0.000000 0.000000 0.000000 0.000000 0\n"
                             "  Key 1.500000 0.458333 0 0.000000 0.000000 0.000000 0.000000 0.000000 0\n"
                             "  Key -0.000000 0.500000 0 0.000000 0.000000 0.000000 0.000000 0.000000 0\n"
                             "  Behaviors 1 1\n"
                             "}\n");
    }
    return text;
}

// A camera's zoom file: keys at frames 0 and 48 at 24 fps.
inline const std::string kZoomFile =
    "{ Envelope\n"
    "  2\n"
    "  Key 3.200000 0.000000 0 0.000000 0.000000 0.000000 0 0 0\n"
    "  Key 1.600000 2.000000 0 0.500000 -0.250000 0.100000 0 0 0\n"
    "  Behaviors 1 1\n"
    "}\n";

// An item without keys: every channel holds the placeholder body.
inline std::string PlaceholderOnlyFile() {
    std::string text = "LWMO\n3\n\nNumChannels 9\n";
    for (int channel = 0; channel < 9; ++channel) {
        text += ChannelBlock(channel, kPlaceholderBody);
    }
    return text;
}

}  // namespace corvantide_test
