// The date headers of every upgrade transfer (Date, Last-Modified, Expires) as the transfer reads
// them, and the file time a downloaded file is given from them.
#include "support/require.h"
#include "upgrade/au_utils.h"

#include <QString>
#include <cmath>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString header =
        QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));
    const TDateTime date = ParseHTTPDate(header);
    Require(std::isfinite(date.Value), "a date header gives a finite date-time");

    const double zone = ParseZoneOffset(header);
    Require(std::fabs(zone) < 1.0, "a zone offset is less than a day");

    const std::optional<qint64> fileTime = DateTimeToFileTime(date);
    Require(!fileTime || *fileTime % 2 == 0, "file times go in two-second steps");
    return 0;
}
