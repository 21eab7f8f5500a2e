#include "upgrade/au_info_file.h"

#include "common/date_time.h"
#include "common/gbk_text.h"
#include "upgrade/au_decimal.h"
#include "upgrade/au_utils.h"

#include <QHash>
#include <cctype>
#include <optional>

namespace {

// Longer than any key the check asks for ("sha256_" and ten digits): a longer name is never
// looked up.
constexpr qsizetype kLongestKey = 20;
// Fifteen digits are some petabytes, more than any file; more would not fit 64 bits safely.
constexpr qsizetype kLongestSize = 15;
constexpr qsizetype kSha256Size = 32;
constexpr int kFirstYear = 1;
constexpr int kLastYear = 9999;

struct TSpan {
    qsizetype Start;
    qsizetype End;
};

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
        const std::optional<TSpan> span = braces ? BracedSpan(key) : OneLineSpan(key);
        return span ? FromGbk(FText.mid(span->Start, span->End - span->Start)) : QString();
    }

    // Where the one-line value of Key stands in the text.
    std::optional<TSpan> OneLineSpan(const QByteArray& key) const {
        const qsizetype start = FOneLine.value(key, -1);
        if (start < 0)
            return std::nullopt;
        qsizetype end = start;
        while (end < FText.size() && static_cast<quint8>(FText.at(end)) >= 32)
            ++end;
        return TSpan{start, end};
    }

private:
    std::optional<TSpan> BracedSpan(const QByteArray& key) const {
        const qsizetype start = FBraces.value(key, -1);
        if (start < 0)
            return std::nullopt;
        const qsizetype end = FText.indexOf('}', start);
        return TSpan{start, end < 0 ? FText.size() : end};
    }

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

// A size is plain decimal digits; blanks around it do not count.
qint64 SizeOf(const QString& value) {
    const QString digits = value.trimmed();
    if (digits.isEmpty() || digits.size() > kLongestSize)
        return -1;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
    }
    return digits.toLongLong();
}

QByteArray Sha256Of(const QString& value) {
    const QString hex = value.trimmed();
    if (hex.size() != 2 * kSha256Size)
        return {};
    for (const QChar c : hex) {
        if (c.unicode() > 0x7F || std::isxdigit(c.toLatin1()) == 0)
            return {};
    }
    return QByteArray::fromHex(hex.toLatin1());
}

TauFileDigest DigestOf(const TInfoFileIndex& index, const QByteArray& fileKey) {
    return {SizeOf(index.Value(SizeKeyOf(fileKey), false)),
            Sha256Of(index.Value(DigestKeyOf(fileKey), false))};
}

// Adds the file of Key to Content; false when the key has no value.
bool AddFile(const TInfoFileIndex& index, const QByteArray& key, TauInfoFileContent& content) {
    const QString url = index.Value(key, false);
    if (url.isEmpty())
        return false;
    content.Files.append(url);
    content.FileKeys.append(key);
    content.Digests.append(DigestOf(index, key));
    return true;
}

void ReadFiles(const TInfoFileIndex& index, TauInfoFileContent& content) {
    for (const char* key : {"url", "url0"})
        AddFile(index, key, content);
    for (qsizetype k = content.Files.size() + 1;; ++k) {
        if (!AddFile(index, "url" + QByteArray::number(k), content))
            return;
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
    ReadFiles(index, content);
    content.Version = index.Value("version", false);
    content.Date = index.Value("date", false);
    content.Message = index.Value("message", true);
    content.Method = MethodOf(index.Value("method", false));
    return content;
}

QByteArray SizeKeyOf(const QByteArray& fileKey) {
    return "size" + fileKey.sliced(3);
}

QByteArray DigestKeyOf(const QByteArray& fileKey) {
    // "sha256" + "2" would read as one number: the file's number stands after an underscore.
    const QByteArray number = fileKey.sliced(3);
    return number.isEmpty() ? QByteArray("sha256") : "sha256_" + number;
}

void SetOneLineValue(QByteArray& text, const QByteArray& key, const QByteArray& value) {
    const TInfoFileIndex index(text);
    if (const std::optional<TSpan> span = index.OneLineSpan(key.toLower())) {
        text.replace(span->Start, span->End - span->Start, value);
        return;
    }
    const QByteArray lineEnd = text.contains("\r\n") ? "\r\n" : "\n";
    if (!text.isEmpty() && !text.endsWith('\n'))
        text += lineEnd;
    text += '#' + key + '=' + value + lineEnd;
}

bool IsNewerVersion(TauAutoUpdaterVersionControl control, const TauInfoFileContent& offered,
                    const QString& versionNumber, const QString& versionDate) {
    // "#version=3.8 " would otherwise be newer than 3.8 for ever: the client would offer itself.
    if (control == byNumber)
        return CompareVersions(offered.Version.trimmed(), versionNumber.trimmed()) > 0;
    return ParseVersionDate(offered.Date.trimmed()) > ParseVersionDate(versionDate.trimmed());
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
