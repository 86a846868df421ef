#include "app/ProcessValues.h"

#include "platform/Platform.h"

namespace bm {

int32_t TextCodePage = 936;
uint16_t OsVersionWord = 0;
std::string BackupSummary;
std::string RestoreSummary;
Text FirefoxProfileFolder;
int32_t FirefoxClickCount = 0;

void InitProcessValues(Platform& os) {
  TextCodePage = 936;
  uint32_t major = 0, minor = 0, build = 0;
  OsVersionWord = os.QueryOsVersion(major, minor, build)
                      ? static_cast<uint16_t>((major << 8) | (minor & 0xFF))
                      : 0;
}

}  // namespace bm
