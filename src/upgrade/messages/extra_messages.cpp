#include "upgrade/messages/extra_messages.h"

#include "upgrade/messages/upgrade_messages.h"

#include <array>

namespace {

using TExtraBlock = std::array<const char*, kExtraMessageCount>;

// In the order of the languages' blocks; each access key differs from Yes's and Later's.
constexpr std::array<TExtraBlock, wlSlovak> kExtraMessages = {{
    {"&Skip this version", "Download size: %.1f MB"},
    {"Пропу&стить эту версию", "Размер загрузки: %.1f МБ"},
    {"Diese Version ü&berspringen", "Downloadgröße: %.1f MB"},
    {"&Ignorer cette version", "Taille du téléchargement : %.1f Mo"},
    {"&Omitir esta versión", "Tamaño de la descarga: %.1f MB"},
    {"&Ignorar esta versão", "Tamanho da transferência: %.1f MB"},
    {"&Pular esta versão", "Tamanho do download: %.1f MB"},
    {"&Ignora questa versione", "Dimensione del download: %.1f MB"},
    {"Deze versie &overslaan", "Downloadgrootte: %.1f MB"},
    {"Sp&ring denne version over", "Downloadstørrelse: %.1f MB"},
    {"Hoppa ö&ver den här versionen", "Nedladdningsstorlek: %.1f MB"},
    {"&Ohita tämä versio", "Latauksen koko: %.1f Mt"},
    {"Jäta see versioon &vahele", "Allalaadimise maht: %.1f MB"},
    {"Пропу&стити цю версію", "Розмір завантаження: %.1f МБ"},
    {"P&omiń tę wersję", "Rozmiar pobierania: %.1f MB"},
    {"Př&eskočit tuto verzi", "Velikost stahování: %.1f MB"},
    {"Verzió ki&hagyása", "Letöltés mérete: %.1f MB"},
    {"&Omite această versiune", "Dimensiunea descărcării: %.1f MB"},
    {"&Omet aquesta versió", "Mida de la baixada: %.1f MB"},
    {"&Saltatu bertsio hau", "Deskargaren tamaina: %.1f MB"},
    {"&Slaan hierdie weergawe oor", "Aflaaigrootte: %.1f MB"},
    {"[&S]略過此版本", "下載大小：%.1f MB"},
    {"[&S]跳过此版本", "下载大小：%.1f MB"},
    {"L&ewati versi ini", "Ukuran unduhan: %.1f MB"},
    {"L&angkau versi ini", "Saiz muat turun: %.1f MB"},
    {"Sl&eppa þessari útgáfu", "Stærð niðurhals: %.1f MB"},
    {"Bu sürümü &atla", "İndirme boyutu: %.1f MB"},
    {"Hopp &over denne versjonen", "Nedlastingsstørrelse: %.1f MB"},
    {"&Preskočiť túto verziu", "Veľkosť sťahovania: %.1f MB"},
}};

} // namespace

QString LoadExtraUpgradeMessage(TExtraUpgradeMessage message) {
    const int block = (MessageBase() - kFirstMessageBase) / kMessageBlockStep;
    if (block < 0 || block >= static_cast<int>(kExtraMessages.size()) || message < 0 ||
        message >= kExtraMessageCount)
        return {};
    return QString::fromUtf8(kExtraMessages[static_cast<size_t>(block)][message]);
}
