#include "shell/offline_panes.h"

#include "platform/browser_pane.h"
#include "platform/server_probe.h"
#include "shell/offline_notice.h"

#include <algorithm>

TOfflinePanes::TOfflinePanes(const QList<TBrowserPane*>& panes, QObject* parent)
    : QObject(parent), FPanes(panes), FProbe(new TServerProbe(this)) {
    for (TBrowserPane* pane : FPanes) {
        pane->SetUnreachableNotice(&CatalogueUnreachablePage);
        connect(pane, &TBrowserPane::UnreachableChanged, this, [this, pane] { PaneChanged(pane); });
    }
    connect(FProbe, &TServerProbe::Answered, this, &TOfflinePanes::RetryAll);
}

void TOfflinePanes::PaneChanged(TBrowserPane* pane) {
    if (!pane->UnreachableAddress().isEmpty()) {
        FProbe->Start(pane->UnreachableAddress());
        return;
    }
    const bool anyUnreachable = std::any_of(FPanes.begin(), FPanes.end(), [](TBrowserPane* p) {
        return !p->UnreachableAddress().isEmpty();
    });
    if (!anyUnreachable)
        FProbe->Stop();
}

void TOfflinePanes::RetryAll() {
    for (TBrowserPane* pane : FPanes)
        pane->RetryUnreachable();
}
