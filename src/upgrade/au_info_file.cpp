#include "upgrade/au_info_file.h"

#include "common/date_time.h"
#include "common/gbk_text.h"
#include "upgrade/au_decimal.h"
#include "upgrade/au_utils.h"

#include <QHash>

namespace {

// Longer than any key the check asks for ("url" and ten digits): a longer name is never looked up.
constexpr qsizetype kLongestKey = 16;
constexpr int kFirstYear = 1;
constexpr int kLastYear = 9999;

// Where the value of each key pattern first occurs. Every "#" is a possible start of a pattern,
// and a pattern "#key=" occurs at a "#" exactly when the bytes up to the next "=" spell the key,
// so one pass over the text answers every lookup; a search per key would make a large file with
// many numbered keys cost the square of its size.
class TInfoFileIndex {
public:
    explicit TInfoFileIndex(const QByteArray& text) : FText(text) {
        for (qsizetype at = text.indexOf('#'); at >= 0; at = text.indexOf('#', at + 1))
            NoteKeyAt(at);
    }

    QString Value(const QByteArray& key, bool braces) const {
        const qsizetype start = (braces ? FBraces : FOneLine).value(key, -1);
        if (start < 0)
            return {};
        qsizetype end = start;
        if (braces) {
            end = FText.indexOf('}', start);
            if (end < 0)
                end = FText.size();
        } else {
            while (end < FText.size() && static_cast<quint8>(FText.at(end)) >= 32)
                ++end;
        }
        return FromGbk(FText.mid(start, end - start));
    }

private:
    void NoteKeyAt(qsizetype hash) {
        const qsizetype nameStart = hash + 1;
        const qsizetype limit = std::min(FText.size(), nameStart + kLongestKey + 1);
        qsizetype equals = nameStart;
        while (equals < limit && FText.at(equals) != '=')
            ++equals;
        if (equals >= limit)
            return;
        // Keys match in any letter case: the name is folded as ASCII.
        const QByteArray name = FText.mid(nameStart, equals - nameStart).toLower();
        NoteFirst(FOneLine, name, equals + 1);
        if (equals + 1 < FText.size() && FText.at(equals + 1) == '{')
            NoteFirst(FBraces, name, equals + 2);
    }

    // Only the first occurrence of a key counts.
    static void NoteFirst(QHash<QByteArray, qsizetype>& positions, const QByteArray& key,
                          qsizetype position) {
        if (!positions.contains(key))
            positions.insert(key, position);
    }

    const QByteArray& FText;
    QHash<QByteArray, qsizetype> FOneLine;
    QHash<QByteArray, qsizetype> FBraces;
};

QStringList FileURLs(const TInfoFileIndex& index) {
    QStringList files;
    for (const char* key : {"url", "url0"}) {
        const QString url = index.Value(key, false);
        if (!url.isEmpty())
            files.append(url);
    }
    for (qsizetype k = files.size() + 1;; ++k) {
        const QString url = index.Value("url" + QByteArray::number(k), false);
        if (url.isEmpty())
            return files;
        files.append(url);
    }
}

TauUpgradeMethod MethodOf(const QString& value) {
    if (value.startsWith(QLatin1Char('1')))
        return umUseExternalSetup;
    if (value.startsWith(QLatin1Char('2')))
        return umRedirectToURL;
    return umSelfUpgrade;
}

QDate Today() {
    return TClock::Now().date();
}

} // namespace

TauInfoFileContent ParseInfoFile(const QByteArray& text) {
    const TInfoFileIndex index(text);
    TauInfoFileContent content;
    content.Files = FileURLs(index);
    content.Version = index.Value("version", false);
    content.Date = index.Value("date", false);
    content.Message = index.Value("message", true);
    content.Method = MethodOf(index.Value("method", false));
    return content;
}

bool IsNewerVersion(TauAutoUpdaterVersionControl control, const TauInfoFileContent& offered,
                    const QString& versionNumber, const QString& versionDate) {
    if (control == byNumber)
        return CompareVersions(offered.Version, versionNumber) > 0;
    return ParseVersionDate(offered.Date) > ParseVersionDate(versionDate);
}

QDate ParseVersionDate(const QString& text) {
    const qsizetype first = text.indexOf(QLatin1Char('/'));
    const qsizetype second = first < 0 ? -1 : text.indexOf(QLatin1Char('/'), first + 1);
    if (second < 0)
        return Today();
    const std::optional<int> month = ParseDecimal(text.left(first));
    const std::optional<int> day = ParseDecimal(text.mid(first + 1, second - first - 1));
    const std::optional<int> year = ParseDecimal(text.mid(second + 1));
    if (!month || !day || !year || *year < kFirstYear || *year > kLastYear)
        return Today();
    const QDate date(*year, *month, *day);
    return date.isValid() ? date : Today();
}

QString FormatVersionDate(const QDate& date) {
    return date.toString(QStringLiteral("MM/dd/yyyy"));
}
