#include "shell/download_list.h"

#include "shell/single_frame_updates.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <optional>

namespace {

QString SpeedText(double bytesPerSecond) {
    return bytesPerSecond >= 1024 * 1024
               ? QStringLiteral("%1 MB/秒").arg(bytesPerSecond / (1024 * 1024), 0, 'f', 1)
               : QStringLiteral("%1 KB/秒").arg(std::llround(bytesPerSecond / 1024));
}

QString TimeLeftText(double seconds) {
    const qint64 whole = std::llround(std::ceil(seconds));
    return whole >= 60 ? QStringLiteral("还要 %1 分 %2 秒").arg(whole / 60).arg(whole % 60)
                       : QStringLiteral("还要 %1 秒").arg(whole);
}

QString SpeedAndTimeLeftText(double bytesPerSecond, std::optional<double> secondsLeft) {
    const QString speed = SpeedText(bytesPerSecond);
    return secondsLeft ? speed + QStringLiteral("，") + TimeLeftText(*secondsLeft) : speed;
}

} // namespace

TDownloadRow::TDownloadRow(const QString& name, std::function<void(qint64)> alsoShow,
                           QWidget* parent)
    : QWidget(parent), FAlsoShow(std::move(alsoShow)),
      FRelay(new TProgressRelay([this](qint64 count) { ShowCount(count); }, this)) {
    setObjectName(QStringLiteral("rowDownload"));
    lblDownloadName = new QLabel(name);
    lblDownloadName->setObjectName(QStringLiteral("lblDownloadName"));
    lblDownloadName->setTextFormat(Qt::PlainText);
    pbDownload = new QProgressBar;
    pbDownload->setObjectName(QStringLiteral("pbDownload"));
    pbDownload->setTextVisible(false);
    pbDownload->setMaximum(0);
    lblDownloadSpeed = new QLabel(QStringLiteral("正在连接……"));
    lblDownloadSpeed->setObjectName(QStringLiteral("lblDownloadSpeed"));
    btnCancelDownload = new QPushButton(QStringLiteral("取消"));
    btnCancelDownload->setObjectName(QStringLiteral("btnCancelDownload"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(lblDownloadName);
    row->addWidget(pbDownload, 1);
    row->addWidget(new TSteadyLabel(lblDownloadSpeed,
                                    SpeedAndTimeLeftText(9999.9 * 1024 * 1024, 999 * 60 + 59)));
    row->addWidget(btnCancelDownload);
    connect(btnCancelDownload, &QPushButton::clicked, this, [this] {
        *FCancelled = true;
        btnCancelDownload->setEnabled(false);
        lblDownloadSpeed->setText(QStringLiteral("正在取消……"));
    });
    FClock.start();
}

void TDownloadRow::Begin(qint64 total) {
    FTotal = total;
    // The bar counts in 32-bit steps: kilobytes reach far enough.
    pbDownload->setMaximum(total > 0 ? int(std::min<qint64>(total / 1024 + 1, INT_MAX)) : 0);
}

void TDownloadRow::ShowCount(qint64 count) {
    if (FAlsoShow)
        FAlsoShow(count);
    if (*FCancelled)
        return;
    // A download that took up a part held is timed from its first report, not from zero.
    if (FFirstCount < 0) {
        FFirstCount = count;
        FClock.restart();
    }
    if (FTotal > 0)
        SetValueWithNextFrame(*pbDownload,
                              int(std::min<qint64>(count / 1024, pbDownload->maximum())));
    const double seconds = FClock.elapsed() / 1000.0;
    if (seconds < 0.2)
        return;
    const double speed = double(count - FFirstCount) / seconds;
    lblDownloadSpeed->setText(SpeedAndTimeLeftText(
        speed,
        FTotal > 0 && speed > 0 ? std::optional(double(FTotal - count) / speed) : std::nullopt));
}

TDownloadList::TDownloadList(QWidget* parent) : QWidget(parent), FColumn(new QVBoxLayout(this)) {
    setObjectName(QStringLiteral("lstDownloads"));
    FColumn->setContentsMargins(0, 0, 0, 0);
    hide();
}

TDownloadRow* TDownloadList::Add(const QString& key, const QString& name,
                                 std::function<void(qint64)> alsoShow) {
    Remove(key);
    auto* row = new TDownloadRow(name, std::move(alsoShow), this);
    FColumn->addWidget(row);
    FRows.insert(key, row);
    show();
    return row;
}

void TDownloadList::Remove(const QString& key) {
    TDownloadRow* row = FRows.take(key);
    if (row == nullptr)
        return;
    row->hide();
    row->deleteLater();
    setVisible(!FRows.isEmpty());
}
