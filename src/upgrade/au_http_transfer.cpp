// The worker's side of a transfer: request, headers, output, body. Every step that may wait
// is followed by a check point, where a stop request (Abort, a replacement, the component's
// destruction, a Release from the host) ends the transfer silently.
#include "common/failure.h"
#include "common/gbk_text.h"
#include "upgrade/au_decimal.h"
#include "upgrade/au_file_stream.h"
#include "upgrade/au_http_flags.h"
#include "upgrade/au_http_run.h"

#include <QBuffer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <optional>
#include <vector>

namespace {

// Header values are read through one buffer of this size, its terminating zero included; a
// longer value counts as absent.
constexpr qsizetype kHeaderBufferSize = 4096;
// A body held in memory is sized in advance from its Content-Length only up to this much, so a
// server cannot make the client take memory for bytes it never sends.
constexpr qint64 kLargestPresizedBody = 64LL * 1024 * 1024;
// Larger blocks than this bring nothing: the network delivers less at a time.
constexpr int kLargestBlock = 16 * 1024 * 1024;

struct TUrlTarget {
    QString Scheme, Host, Path, User, Password, Extra;
    quint16 Port = 0;
    // The path goes out as the address writes it: decoded and encoded again, escapes of another
    // code page than the addresses' would name another file.
    QByteArray RequestPath;
};

TUrlTarget CrackTarget(const TTransferRun& run) {
    TUrlTarget target;
    CrackURL(run.Url, target.Scheme, target.Host, target.Path, target.User, target.Password,
             target.Extra, target.Port);
    target.Extra = EncodeURLExtra(target.Extra);
    target.RequestPath = URLRequestPath(run.Url);
    if (target.User.isEmpty())
        target.User = run.HTTPUsername;
    if (target.Password.isEmpty())
        target.Password = run.HTTPPassword;
    return target;
}

QByteArray RequestUrl(const TUrlTarget& target) {
    // An IPv6 address goes in brackets, as the cracker may or may not have left it.
    QByteArray host = ToGbk(target.Host);
    if (host.contains(':') && !host.startsWith('['))
        host = '[' + host + ']';
    return ToGbk(target.Scheme) + "://" + host + ':' + QByteArray::number(target.Port) +
           target.RequestPath + target.Extra.toLatin1();
}

std::optional<QByteArray> QueryHeader(const TInternetRequest& request, QByteArrayView name) {
    std::optional<QByteArray> value = request.Header(name);
    if (value && value->size() >= kHeaderBufferSize)
        return std::nullopt;
    return value;
}

QString HeaderText(const TInternetRequest& request, QByteArrayView name) {
    return FromGbk(QueryHeader(request, name).value_or(QByteArray()));
}

// Basic realm="abc" gives abc; a value without ="..." is taken whole.
QString RealmOf(const QString& challenge) {
    const qsizetype quoted = challenge.indexOf(QLatin1String("=\""));
    if (quoted < 0)
        return challenge;
    const QString rest = challenge.mid(quoted + 2);
    return rest.left(rest.size() - 1);
}

// Computed in the UI thread when the report is delivered.
void ReportProgress(TauCustomHTTP& component, const TTransferRun& run) {
    if (!component.OnTransferProgress)
        return;
    const quint32 bytesRead = run.BytesRead;
    const int contentLength = run.ContentLength;
    const quint32 elapsed = (TickCount() - run.StartTick) / 1000;
    // Rounds halves to even, as the default rounding mode does.
    const long long estimated =
        bytesRead == 0 ? 0 : std::llrint(static_cast<double>(contentLength) / bytesRead * elapsed);
    float rate = bytesRead / 1024.0f;
    if (elapsed != 0)
        rate /= static_cast<float>(elapsed);
    component.OnTransferProgress(&component, run.CurrentContentType(), contentLength,
                                 static_cast<int>(bytesRead), static_cast<int>(elapsed),
                                 static_cast<int>(estimated - elapsed),
                                 CalcPercent(bytesRead, contentLength), rate, run.Output.get());
}

class TTransferWorker {
public:
    TTransferWorker(TTransferRun& run, TauEventThread& thread)
        : FRun(run), FThread(thread), FComponent(run.Component) {}

    void Run() {
        FRun.StatusCode = -1;
        FRun.SetContentType(QString());
        const int blockSize = std::clamp(FRun.BlockSize, 1, kLargestBlock);
        FRun.StartTick = TickCount();
        FRun.Continue = true;
        const TUrlTarget target = CrackTarget(FRun);
        Check();
        if (target.Scheme == QLatin1String("file"))
            OpenLocalFile(target.Path);
        else if (!ReceiveHeaders(target))
            return;
        Check();
        if (!ChooseOutput())
            return;
        ReadBody(blockSize);
        Conclude();
    }

private:
    // A check point: a stopped transfer closes what it has and ends its worker here.
    void Check() {
        if (!FThread.CheckTerminated() && !FRun.Released)
            return;
        FRun.Request.reset();
        FRun.LocalFile.reset();
        ReleaseRun(FRun);
        FThread.EndNow();
    }

    void OpenLocalFile(const QString& path) {
        auto file = std::make_unique<QFile>(path);
        const bool opened = file->exists() && file->open(QIODevice::ReadOnly);
        FRun.StatusCode = opened ? 200 : 404;
        FRun.ContentLength = opened ? static_cast<int>(static_cast<quint32>(file->size())) : 0;
        // The file's size is known as a Content-Length would be.
        FRun.Success = opened;
        if (opened)
            FRun.LocalFile = std::move(file);
    }

    // Connects, sends (again while a login handler asks for it) and reads the headers; false
    // when the transfer ends without a body (no answer, or the header handler said no).
    bool ReceiveHeaders(const TUrlTarget& target) {
        const quint32 flags =
            RequestFlagsFor(target.Scheme, FRun.CacheOptions, FRun.InternetOptions);
        TInternetRequestSettings settings =
            RequestSettingsFor(flags, target.Scheme, FRun.InternetOptions, FRun.Proxy);
        settings.Url = RequestUrl(target);
        settings.UserAgent = ToGbk(FRun.UserAgent);
        settings.Accept = ToGbk(FRun.AcceptTypes);
        FRun.Request = std::make_unique<TInternetRequest>(
            FRun.Session, settings, [this] { return FThread.Terminated() || FRun.Released; });
        FRun.Success = true;
        Check();
        FRun.Request->SetLogin(ToGbk(target.User), ToGbk(target.Password));
        Check();
        if (FRun.Proxy.AccessType != atDirect && !FRun.Proxy.ProxyUsername.isEmpty() &&
            !FRun.Proxy.ProxyPassword.isEmpty())
            FRun.Request->SetProxyLogin(ToGbk(FRun.Proxy.ProxyUsername),
                                        ToGbk(FRun.Proxy.ProxyPassword));
        if (!SendUntilAnswered())
            return false;
        Check();
        if (const std::optional<QByteArray> type = QueryHeader(*FRun.Request, "Content-Type"))
            FRun.SetContentType(FromGbk(*type));
        const std::optional<QByteArray> length = QueryHeader(*FRun.Request, "Content-Length");
        FRun.Success = length.has_value();
        FRun.ContentLength = ParseDecimal(QString::fromLatin1(length.value_or(""))).value_or(0);
        if (FRun.HasHeaderInfo)
            ReportHeaders();
        return FRun.Continue;
    }

    bool SendUntilAnswered() {
        do {
            Check();
            FRun.TryAgain = false;
            if (!FRun.Request->Send()) {
                Check();
                FRun.Success = false;
                return false;
            }
            Check();
            const std::optional<int> status = FRun.Request->StatusCode();
            FRun.Success = status.has_value();
            if (status)
                FRun.StatusCode = *status;
            if (FRun.StatusCode == 401 && FRun.HasPasswordRequired)
                AskForLogin();
            else if (FRun.StatusCode == 407 && FRun.HasProxyAuthentication)
                AskForProxyLogin();
        } while (FRun.TryAgain);
        return true;
    }

    void AskForLogin() {
        const QString realm = RealmOf(HeaderText(*FRun.Request, "WWW-Authenticate"));
        FRun.SetContentType(realm);
        QByteArray user, password;
        FThread.Synchronize([&] {
            if (FComponent->OnPasswordRequired)
                FComponent->OnPasswordRequired(FComponent, realm, FRun.TryAgain);
            user = ToGbk(FComponent->HTTPUsername);
            password = ToGbk(FComponent->HTTPPassword);
        });
        FRun.Request->SetLogin(user, password);
    }

    void AskForProxyLogin() {
        QByteArray user, password;
        FThread.Synchronize([&] {
            TauHTTPProxy& proxy = FComponent->Proxy;
            if (FComponent->OnProxyAuthenticationRequest)
                FComponent->OnProxyAuthenticationRequest(FComponent, proxy.ProxyUsername,
                                                         proxy.ProxyPassword, FRun.TryAgain);
            user = ToGbk(proxy.ProxyUsername);
            password = ToGbk(proxy.ProxyPassword);
        });
        FRun.Request->SetProxyLogin(user, password);
    }

    void ReportHeaders() {
        const TInternetRequest& request = *FRun.Request;
        const QString rawHeaders = FromGbk(
            request.RawHeaders().size() < kHeaderBufferSize ? request.RawHeaders() : QByteArray());
        const QString language = HeaderText(request, "Content-Language");
        const QString encoding = HeaderText(request, "Content-Encoding");
        const QString location = HeaderText(request, "Location");
        const QString eTag = HeaderText(request, "ETag");
        const TDateTime date = ParseHTTPDate(HeaderText(request, "Date"));
        const TDateTime lastModified = ParseHTTPDate(HeaderText(request, "Last-Modified"));
        const TDateTime expires = ParseHTTPDate(HeaderText(request, "Expires"));
        const QString contentType = FRun.CurrentContentType();
        FThread.Synchronize([&] {
            if (FComponent->OnHeaderInfo)
                FComponent->OnHeaderInfo(FComponent, FRun.StatusCode, rawHeaders, contentType,
                                         language, encoding, FRun.ContentLength, location, date,
                                         lastModified, expires, eTag, FRun.Continue);
        });
    }

    // False when the transfer ends here without any output (its file could not be created
    // although the length is known).
    bool ChooseOutput() {
        const int status = FRun.StatusCode;
        if ((status == 200 || status == 206) && !FRun.OutputFileName.isEmpty()) {
            if (CreateOutputFile())
                return true;
            if (FRun.Success)
                return false;
        }
        auto memory = std::make_unique<QBuffer>();
        const qint64 length = FRun.ContentLength;
        if (FRun.Success && length > 0 && length <= kLargestPresizedBody)
            memory->setData(QByteArray(static_cast<qsizetype>(length), '\0'));
        memory->open(QIODevice::ReadWrite);
        const std::lock_guard lock(FRun.Lock);
        FRun.Output = std::move(memory);
        return true;
    }

    // Under the lock: a Release from the UI thread either comes first, and then no file is
    // created (its host may be deleting its files right then), or it closes this one.
    bool CreateOutputFile() {
        std::unique_lock lock(FRun.Lock);
        if (FRun.Released) {
            lock.unlock();
            Check();
        }
        try {
            FRun.Output = TauFileStream::Create(FRun.OutputFileName);
        } catch (const EFailure& failure) {
            FRun.OutputError = failure.Message();
            return false;
        }
        const TauFileAttributes incomplete = FRun.Attributes.Incomplete;
        if (!(incomplete == TauFileAttributes{atrArchive}))
            ApplyFileAttributes(FRun.OutputFileName, incomplete);
        FRun.OutputIsFile = true;
        return true;
    }

    void ReadBody(int blockSize) {
        FRun.BytesRead = 0;
        std::vector<char> buffer(static_cast<size_t>(blockSize));
        for (;;) {
            Check();
            const qint64 count = ReadBlock(buffer.data(), blockSize);
            if (count <= 0) {
                // A read cut short by a stop request is no end of the body.
                Check();
                FRun.ReadFailed = count < 0;
                return;
            }
            FRun.BytesRead += static_cast<quint32>(count);
            if (!Store(buffer.data(), count))
                return;
            if (FRun.HasProgress)
                FThread.Synchronize([this] { ReportProgress(*FComponent, FRun); });
        }
    }

    // From the request, or from the local file; a local file that did not open has no body.
    qint64 ReadBlock(char* buffer, int size) {
        if (FRun.Request)
            return FRun.Request->Read(buffer, size);
        return FRun.LocalFile ? FRun.LocalFile->read(buffer, size) : 0;
    }

    bool Store(const char* data, qint64 count) {
        const std::lock_guard lock(FRun.Lock);
        if (!FRun.Output)
            return true; // released meanwhile: the next check point ends the transfer
        if (FRun.Output->write(data, count) == count) {
            FRun.BodyHash.addData(QByteArrayView(data, count));
            return true;
        }
        FRun.WriteFailed = true;
        FRun.OutputError = FRun.Output->errorString();
        return false;
    }

    void Conclude() {
        {
            const std::lock_guard lock(FRun.Lock);
            auto* file = qobject_cast<QFileDevice*>(FRun.Output.get());
            if (file != nullptr && !FRun.WriteFailed && !file->flush()) {
                FRun.WriteFailed = true;
                FRun.OutputError = file->errorString();
            }
        }
        const int status = FRun.StatusCode;
        FRun.Success = status == 200 || status == 206;
        if (FRun.Success && FRun.ContentLength != 0 && FRun.Output)
            FRun.Success = static_cast<qint64>(FRun.ContentLength) == FRun.BytesRead;
        // Without a length only the reading tells whether the body came whole.
        if (FRun.WriteFailed || FRun.ReadFailed)
            FRun.Success = false;
    }

    TTransferRun& FRun;
    TauEventThread& FThread;
    TauCustomHTTP* const FComponent;
};

} // namespace

void RunTransfer(TTransferRun& run, TauEventThread& thread) {
    TTransferWorker(run, thread).Run();
}

void ReleaseRun(TTransferRun& run) {
    const std::lock_guard lock(run.Lock);
    if (run.Released)
        return;
    run.Released = true;
    run.Output.reset();
    const TauFileAttributes incomplete = run.Attributes.Incomplete;
    if (run.OutputIsFile && !(incomplete == TauFileAttributes{atrArchive}))
        ApplyFileAttributes(run.OutputFileName, incomplete);
    run.OutputIsFile = false;
    run.Reading = false;
}

quint32 TickCount() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<quint32>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}
