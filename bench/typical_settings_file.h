// The settings file the benchmarks work on.
#pragma once

#include <string>

namespace qfd::bench {

// A typical qfd.ini of about 1 KB: settings, a few detectors, and a mailbox with nothing waiting.
inline std::string TypicalFile() {
    std::string f =
        "[Settings]\r\nmyName=Bruce\r\nDelay= 5\r\nLatency= 100\r\nSound=101\r\n"
        "Colour1= 255\r\nColour2= 0\r\nColour3= 0\r\nColour4= 16777215\r\n"
        "Small= 0\r\nQFtext=Quorf\r\nAtext=Alert\r\nNetDelay= 0\r\n"
        "splashDelay= 1\r\n[Network Settings]\r\n";
    for (int i = 0; f.size() < 900; ++i) {
        f += "Option " + std::to_string(i) + "=/srv/share/desk" + std::to_string(i) + "/\r\n";
    }
    return f +
           "[Commands]\r\nDelay= 0\r\nNetName=Sheila\r\nQFtext=Quorf\r\nAtext=Alert\r\n"
           "Type=0\r\n";
}

}  // namespace qfd::bench
