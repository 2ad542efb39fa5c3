// Version gate: the platform must be the one the module was built for.
#include <cstdio>
#include <cstring>

#include "host/vkplatform.h"
#include "platform/send_evt.h"
#include "runtime/appinit.h"

namespace {

struct CoderVersion {
    float major;
    const char* suffix;
    const char* date;
};
const CoderVersion SupportedCoder = {1.0f, "0", "2016/12/06"};
const uint32_t SupportedFootprints[2][2] = {{61930458, 105}, {61930458, 1}};

void versionLines(const char* actual, const char* expected) {
    std::printf("       Actual version   - %s\n", actual);
    std::printf("       Expected version - %s\n\n", expected);
}

void reportError(const char* eventText, const char* consoleText, const char* actual, const char* expected) {
    SendAppEvent(6, eventText);
    char text[80];
    std::snprintf(text, sizeof text, "  Actual %s, Expected %s", actual, expected);
    SendAppEvent(3, text);
    std::printf("%s", consoleText);
    versionLines(actual, expected);
}

void reportAlarm(const char* consoleText, const char* actual, const char* expected) {
    std::printf("%s", consoleText);
    versionLines(actual, expected);
}

// Standard-files and abstraction checks share one rule: major must match,
// minor not below the expected; a newer minor or another patch is an alarm.
int checkLibrary(int (*query)(uint8_t*), int major, int minor, int patch, const char* expectedText,
                 const char* errEvent, const char* errConsole, const char* alarmConsole) {
    char actual[64] = "", expected[64] = "";
    uint8_t rec[16] = {};
    if (query(rec) != 0) {
        reportError(errEvent, errConsole, actual, expected);
        return -1;
    }
    std::snprintf(actual, sizeof actual, "%d.%d.%d", rec[4], rec[5], rec[6]);
    std::snprintf(expected, sizeof expected, "%s", expectedText);
    if (rec[4] != major || rec[5] < minor) {
        reportError(errEvent, errConsole, actual, expected);
        return -1;
    }
    if (rec[5] > minor || rec[6] != patch) reportAlarm(alarmConsole, actual, expected);
    return 0;
}

// The runtime's version and date are 40-byte cells that a writer may fill
// to the last byte, without a terminator: never read more than that.
constexpr int kOsTextBytes = static_cast<int>(sizeof OSVersionNumber);
static_assert(sizeof OSReleaseDate == sizeof OSVersionNumber);

// A text formatted into a caller's buffer that did not fit is cut at the
// buffer's end; it then ends in "..." so that whoever reads it sees it was cut.
void markCut(char* text, size_t size, int wanted) {
    if (wanted < 0 || static_cast<size_t>(wanted) < size || size < 4) return;
    std::memcpy(text + size - 4, "...", 4);
}

}  // namespace

int AppVersionVerifyCoderCompatibility(char* actual, int actualSize, char* expected, int expectedSize) {
    if (actual && actualSize > 0) {
        const size_t size = static_cast<size_t>(actualSize);
        markCut(actual, size,
                std::snprintf(actual, size, "%.*s (%.*s)", kOsTextBytes, OSVersionNumber, kOsTextBytes, OSReleaseDate));
    }
    if (expected && expectedSize > 0) {
        const size_t size = static_cast<size_t>(expectedSize);
        markCut(expected, size,
                std::snprintf(expected, size, "%1.2f-%s (%s)", static_cast<double>(SupportedCoder.major),
                              SupportedCoder.suffix, SupportedCoder.date));
    }
    char version[32];
    std::snprintf(version, sizeof version, "%1.2f-%s", static_cast<double>(SupportedCoder.major), SupportedCoder.suffix);
    if (std::strncmp(OSVersionNumber, version, kOsTextBytes) != 0) return -1;
    return std::strncmp(OSReleaseDate, SupportedCoder.date, kOsTextBytes) == 0 ? 0 : 1;
}

int AppVerifyVersionCompatibility() {
    int result = 0;
    char actual[64], expected[64];

    // 1. Operating system.
    actual[0] = expected[0] = '\0';
    uint8_t rec[16] = {};
    if (VNVersionGetOSVersion(rec) != 0) {
        reportError("ERROR: VxWorks version does not match.",
                    "ERROR:  VxWorks version does not match:  Application will not run.\n", actual, expected);
        result = -1;
    } else {
        std::snprintf(actual, sizeof actual, "%d.%d.%d.%d", rec[0], rec[1], rec[2], rec[3]);
        std::snprintf(expected, sizeof expected, "6.9.3.3");
        if (rec[0] != 6 || rec[1] != 9 || rec[2] != 3 || rec[3] != 3) {
            reportError("ERROR: VxWorks version does not match.",
                        "ERROR:  VxWorks version does not match:  Application will not run.\n", actual, expected);
            result = -1;
        } else {
            result = 0;
        }
    }

    // 2. CPU footprint.
    actual[0] = expected[0] = '\0';
    const char* fpErrEvent = "ERROR: Wrong footprint version installed.";
    const char* fpErrConsole = "ERROR:  Wrong footprint version installed:  Application will not run.\n";
    uint32_t pn = VNVersionGetFootprintPN();
    uint32_t rev = VNVersionGetFootprintRev();
    char pnText[16], revText[16];
    if (VNVersionPNIntToString(pn, pnText, 16) != 0) {
        reportError(fpErrEvent, fpErrConsole, actual, expected);
        result = -1;
    } else {
        VNVersionRevIntToString(rev, revText, 16);
        std::snprintf(actual, sizeof actual, "%s.%s", pnText, revText);
        bool accepted = false, exact = false;
        for (const auto& row : SupportedFootprints) {
            char rp[16], rr[16];
            if (VNVersionPNIntToString(row[0], rp, 16) != 0) continue;
            VNVersionRevIntToString(row[1], rr, 16);
            size_t len = std::strlen(expected);
            std::snprintf(expected + len, sizeof expected - len, "%s%s.%s", len ? ", " : "", rp, rr);
            if (!exact && pn == row[0] && rev >= row[1]) {
                accepted = true;
                if (rev == row[1]) exact = true;
            }
        }
        if (!accepted) {
            reportError(fpErrEvent, fpErrConsole, actual, expected);
            result = -1;
        } else {
            char text[80];
            std::snprintf(text, sizeof text, "CPU Footprint %s (%s)", VNVersionGetFootprintVersionString(), vxWorksVersion);
            SendAppState(3, text);
            if (!exact) reportAlarm("ALARM:  Minor version of footprint does not match:\n", actual, expected);
        }
    }

    // 3. Coder.
    actual[0] = expected[0] = '\0';
    int coder = AppVersionVerifyCoderCompatibility(actual, 64, expected, 64);
    char text[80];
    if (coder == 0) {
        std::snprintf(text, sizeof text, "TIQ Coder %.*s", kOsTextBytes, OSVersionNumber);
        SendAppEvent(3, text);
    } else if (coder == 1) {
        std::snprintf(text, sizeof text, "TIQ Coder %.*s ", kOsTextBytes, OSVersionNumber);
        SendAppState(3, text);
        reportAlarm("ALARM:  Wrong Coder library version installed. Date does not match:\n", actual, expected);
    } else {
        reportError("ERROR: Wrong Coder library version installed.",
                    "ERROR:  Wrong Coder library version installed:  Application will not run.\n", actual, expected);
        result = -1;
    }

    // 4. and 5. Platform libraries.
    if (checkLibrary(VN_StdFiles_GetVersion, 1, 7, 1, "1.7.1", "ERROR: VN_StdFiles version does not match.",
                     "ERROR:  VN_StdFiles version does not match:  Application will not run.\n",
                     "ALARM:  Minor version of VN_StdFiles does not match:\n") != 0)
        result = -1;
    if (checkLibrary(VN_Abstraction_GetVersion, 3, 11, 0, "3.11.0", "ERROR: VN_Abstracton version does not match.",
                     "ERROR:  VN_Abstracton version does not match:  Application will not run.\n",
                     "ALARM:  Minor version of VN_Abstracton does not match:\n") != 0)
        result = -1;
    return result;
}
