#include "upgrade/au_http.h"

#include "common/hosts.h"
#include "upgrade/au_http_flags.h"
#include "upgrade/au_http_run.h"

#include <QBuffer>

namespace {

constexpr int kSmallestBlock = 255;

bool IsSuccessStatus(int status) {
    return status == 200 || status == 206;
}

} // namespace

TauCustomHTTP::TauCustomHTTP(QObject* owner)
    : TauLoginComponent(owner),
      // Servers can tell the upgrade component's requests from a browser's by this name.
      UserAgent(QStringLiteral("auHTTP component (%1)").arg(QLatin1String(kVendorWebDomain))),
      FThread(new TauCustomThread(this)), FSession(std::make_shared<TInternetSession>()) {}

TauCustomHTTP::~TauCustomHTTP() {
    BeginDestruction();
}

void TauCustomHTTP::BeginDestruction() {
    // The thread component goes first: from then on no call of a run reaches this object.
    delete FThread;
    FThread = nullptr;
    if (FRun)
        ReleaseRun(*FRun);
}

void TauCustomHTTP::SetTransferBufferSize(int size) {
    FTransferBufferSize = std::max(size, kSmallestBlock);
}

TThreadPriority TauCustomHTTP::ThreadPriority() const {
    return FThread->Priority();
}

void TauCustomHTTP::SetThreadPriority(TThreadPriority priority) {
    FThread->SetPriority(priority);
}

bool TauCustomHTTP::Read() {
    if (FThread == nullptr || (FRun && FRun->Reading))
        return false;
    auto run = std::make_shared<TTransferRun>();
    run->Component = this;
    run->Url = URL;
    run->OutputFileName = OutputFileName;
    run->Attributes = OutputFileAttributes;
    run->CacheOptions = RequestCacheOptions;
    run->InternetOptions = InternetOptions;
    run->Proxy = Proxy;
    run->BlockSize = FTransferBufferSize;
    run->AcceptTypes = AcceptTypes;
    run->UserAgent = UserAgent;
    run->HTTPUsername = HTTPUsername;
    run->HTTPPassword = HTTPPassword;
    run->HasHeaderInfo = static_cast<bool>(OnHeaderInfo);
    run->HasProgress = static_cast<bool>(OnTransferProgress);
    run->HasPasswordRequired = static_cast<bool>(OnPasswordRequired);
    run->HasProxyAuthentication = static_cast<bool>(OnProxyAuthenticationRequest);
    run->Session = FSession;
    FRun = run;
    FThread->SetOnExecute([run](TauEventThread& thread) { RunTransfer(*run, thread); });
    FThread->SetOnTerminate(
        [this, run](TauEventThread& thread) { Complete(*run, thread.Terminated()); });
    // A transfer that failed on the way is never taken for a success.
    FThread->SetOnException([run](TauEventThread&) { run->Success = false; });
    return FThread->Start();
}

void TauCustomHTTP::Abort() {
    if (Busy())
        FThread->Terminate(false);
}

bool TauCustomHTTP::Busy() const {
    return FThread != nullptr && FThread->Executing();
}

void TauCustomHTTP::Release() {
    if (FRun)
        ReleaseRun(*FRun);
}

QString TauCustomHTTP::GetURLFileName() const {
    return FileFromURL(URL);
}

QString TauCustomHTTP::GetURLHostName() const {
    return HostFromURL(URL);
}

int TauCustomHTTP::StatusCode() const {
    return FRun ? FRun->StatusCode.load() : -1;
}

QString TauCustomHTTP::ContentType() const {
    return FRun ? FRun->CurrentContentType() : QString();
}

int TauCustomHTTP::ContentLength() const {
    return FRun ? FRun->ContentLength.load() : 0;
}

quint32 TauCustomHTTP::BytesRead() const {
    return FRun ? FRun->BytesRead.load() : 0;
}

QByteArray TauCustomHTTP::BodySha256() const {
    return FRun ? FRun->BodyHash.result() : QByteArray();
}

quint32 TauCustomHTTP::RequestFlags() const {
    QString scheme, host, path, user, password, extra;
    quint16 port = 0;
    CrackURL(URL, scheme, host, path, user, password, extra, port);
    return RequestFlagsFor(scheme, RequestCacheOptions, InternetOptions);
}

void TauCustomHTTP::Complete(TTransferRun& run, bool aborted) {
    run.Request.reset();
    run.LocalFile.reset();
    // Stopped after its last check point, while its outcome was on its way: it ends silently as
    // it would have there. A released run has lost its output, so no outcome would be true.
    if (aborted || run.Released) {
        ReleaseRun(run);
        return;
    }
    QIODevice* output = nullptr;
    bool outputIsFile = false;
    {
        const std::lock_guard lock(run.Lock);
        output = run.Output.get();
        outputIsFile = run.OutputIsFile;
        if (output != nullptr)
            output->seek(0);
    }
    const QString contentType = run.CurrentContentType();
    if (!run.Continue) {
        ReleaseRun(run);
        if (OnSkipped)
            OnSkipped(this);
    } else if (run.Success && output == nullptr) {
        ReleaseRun(run);
        if (OnOutputFailed)
            OnOutputFailed(this, run.OutputError);
    } else if (run.Success) {
        if (outputIsFile) {
            ReleaseRun(run);
            const TauOutputFileAttributes& attributes = run.Attributes;
            if (!(attributes.Incomplete == attributes.Complete))
                ApplyFileAttributes(run.OutputFileName, attributes.Complete);
        }
        if (OnDone)
            OnDone(this, contentType, static_cast<int>(run.BytesRead.load()),
                   outputIsFile ? nullptr : output);
    } else if (run.WriteFailed && OnOutputFailed) {
        OnOutputFailed(this, run.OutputError);
    } else if (IsSuccessStatus(run.StatusCode)) {
        if (OnConnectionLost)
            OnConnectionLost(this, contentType, run.ContentLength,
                             static_cast<int>(run.BytesRead.load()), output);
    } else if (run.StatusCode == -1) {
        if (OnNoResponse)
            OnNoResponse(this);
    } else if (OnHTTPError) {
        OnHTTPError(this, run.StatusCode, output);
    }
    // The transfer that has just completed; one that a handler started is left alone.
    ReleaseRun(run);
}
