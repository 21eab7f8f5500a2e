// The upgrade messages in Finnish, Estonian, Hungarian, Basque, Indonesian, Malay and Turkish.
#include "upgrade/messages/message_blocks.h"

const TMessageBlock kFinnishMessages = {
    "Ohjelman päivitysvelho",
    "Ladataan tiedostoja...",
    "Päivitys valmis!",
    "Nykyinen tiedosto",
    "Kaikki tiedostot",
    "Ladataan tiedostoa osoitteesta",
    "Tiedoston koko: %.1f kt",
    "Siirtonopeus: %.1f kt/s",
    "Arvioitu jäljellä oleva aika: %d:%.2d:%.2d",
    "Ladataan %d / %d",
    "Ohjelman %s päivitys on valmis.\n\nKäynnistä ohjelma uudelleen painamalla OK.",
    "Anna salasana",
    "Käyttäjätunnus",
    "Salasana",
    "&Kyllä",
    "&Ei",
    "&OK",
    "&Peruuta",
    "&Seuraava >",
    "&Myöhemmin",
    "Varoitus",
    "Virhe",
    "Valmistellaan. . .",
    "Ohjelmasta %s on julkaistu uusi versio.\n%s\nHaluatko päivittää uusimpaan versioon?",
    "Uudempaa versiota ei löytynyt. Käytät jo\ntämän ohjelman uusinta versiota.",
    "Päivitystiedot sisältävää tiedostoa ei löytynyt kehittäjän sivustolta.",
    "Palvelinta %s ei tavoiteta.\n\nTarkista Internet-yhteys ja\nyritä päivittää ohjelma myöhemmin "
    "uudelleen.",
    "Päivitys ei ole valmis.\nHaluatko keskeyttää päivityksen?",
    "Tiedostoa %s ei löydy tai siihen ei ole pääsyä.\n\nOhitetaanko tiedosto ja jatketaanko "
    "päivitystä?",
    "Etätiedosto \"%s\" on suojattu salasanalla.\n\nAnna käyttäjätunnuksesi ja salasanasi (saadut "
    "rekisteröinnin yhteydessä) jatkaaksesi ohjelman päivitystä.",
    "Yhteys etäpalvelimeen katkesi.\n\nPalauta yhteys ja yritä\npäivittää ohjelma myöhemmin "
    "uudelleen.",
};

const TMessageBlock kEstonianMessages = {
    "Tarkvara uuenduse viisard",
    "Failide allalaadimine...",
    "Uuendus on lõpetatud!",
    "Praegune fail",
    "Kõik failid",
    "Faili allalaadimine asukohast",
    "Faili suurus: %.1f kB",
    "Edastuskiirus: %.1f kB/s",
    "Hinnanguline järelejäänud aeg: %d:%.2d:%.2d",
    "Allalaadimine: %d / %d",
    "Programmi %s uuendamine õnnestus.\n\nProgrammi taaskäivitamiseks vajutage nuppu OK.",
    "Sisestage parool",
    "Kasutajanimi",
    "Parool",
    "&Jah",
    "&Ei",
    "&OK",
    "&Loobu",
    "&Edasi >",
    "&Hiljem",
    "Hoiatus",
    "Viga",
    "Ettevalmistamine. . .",
    "Programmist %s on ilmunud uus versioon.\n%s\nKas soovite oma versiooni uusimaks uuendada?",
    "Uuemat versiooni ei leitud. Te kasutate juba\nselle programmi kõige uuemat versiooni.",
    "Uuendusteavet sisaldavat faili ei leitud arendaja veebisaidilt.",
    "Host %s ei ole kättesaadav.\n\nKontrollige oma Interneti-ühendust ja\nproovige seda tarkvara "
    "hiljem uuesti uuendada.",
    "Uuendus ei ole lõpetatud.\nKas soovite uuendamise katkestada?",
    "Faili %s ei leitud või see pole kättesaadav.\n\nKas jätta see fail vahele ja jätkata "
    "uuendamist?",
    "Juurdepääs kaugfailile \"%s\" on kaitstud parooliga.\n\nTarkvara uuendamise jätkamiseks "
    "sisestage oma kasutajanimi ja parool (saadud registreerimisel).",
    "Ühendus kaugserveriga katkes.\n\nTaastage ühendus ja proovige\nseda tarkvara hiljem uuesti "
    "uuendada.",
};

const TMessageBlock kHungarianMessages = {
    "Alkalmazásfrissítő varázsló",
    "Fájlok letöltése...",
    "A frissítés befejeződött!",
    "Aktuális fájl",
    "Összes fájl",
    "Fájl letöltése innen",
    "Fájlméret: %.1f KB",
    "Átviteli sebesség: %.1f KB/s",
    "Becsült hátralévő idő: %d:%.2d:%.2d",
    "Letöltés: %d / %d",
    "A(z) %s frissítése sikeresen befejeződött.\n\nA program újraindításához kattintson az OK "
    "gombra.",
    "Jelszó megadása",
    "Felhasználónév",
    "Jelszó",
    "&Igen",
    "&Nem",
    "&OK",
    "&Mégse",
    "&Tovább >",
    "&Később",
    "Figyelmeztetés",
    "Hiba",
    "Előkészítés. . .",
    "Megjelent a(z) %s újabb verziója.\n%s\nSzeretné frissíteni a verzióját a legújabbra?",
    "Nem található újabb verzió. Már a program\nlegújabb verzióját használja.",
    "A frissítési információkat tartalmazó fájl nem található a fejlesztő webhelyén.",
    "A(z) %s kiszolgáló nem érhető el.\n\nEllenőrizze az internetkapcsolatot, és\npróbálja meg "
    "később újra frissíteni a programot.",
    "A frissítés nem fejeződött be.\nMegszakítja a frissítést?",
    "A(z) %s fájl nem található vagy nem érhető el.\n\nKihagyja ezt a fájlt, és folytatja a "
    "frissítést?",
    "A(z) \"%s\" távoli fájl elérése jelszóval védett.\n\nA program frissítésének folytatásához "
    "adja meg a felhasználónevét és a jelszavát (a regisztráció után kapta meg).",
    "Megszakadt a kapcsolat a távoli kiszolgálóval.\n\nÁllítsa helyre a kapcsolatot, és próbálja "
    "meg\nkésőbb újra frissíteni a programot.",
};

const TMessageBlock kBasqueMessages = {
    "Programa eguneratzeko laguntzailea",
    "Fitxategiak deskargatzen...",
    "Eguneratzea osatuta!",
    "Uneko fitxategia",
    "Fitxategi guztiak",
    "Fitxategia hemendik deskargatzen",
    "Fitxategiaren tamaina: %.1f KB",
    "Transferentzia-abiadura: %.1f KB/s",
    "Geratzen den denbora, gutxi gorabehera: %d:%.2d:%.2d",
    "Deskargatzen: %d / %d",
    "%s programaren eguneratzea ondo osatu da.\n\nSakatu Ados botoia programa berrabiarazteko.",
    "Idatzi pasahitza",
    "Erabiltzaile-izena",
    "Pasahitza",
    "&Bai",
    "&Ez",
    "&Ados",
    "&Utzi",
    "&Hurrengoa >",
    "&Geroago",
    "Abisua",
    "Errorea",
    "Prestatzen. . .",
    "%s programaren bertsio berriago bat argitaratu da.\n%s\nZure bertsioa azkenera eguneratu nahi "
    "duzu?",
    "Ez da bertsio berriagorik aurkitu. Dagoeneko\nprograma honen azken bertsioa erabiltzen ari "
    "zara.",
    "Eguneratze-informazioa duen fitxategia ez da aurkitu garatzailearen webgunean.",
    "%s ostalaria ezin da atzitu.\n\nEgiaztatu Interneteko konexioa eta\nsaiatu programa hau "
    "geroago eguneratzen.",
    "Eguneratzea ez da osatu.\nEguneratzea bertan behera utzi nahi duzu?",
    "%s fitxategia ez da aurkitu edo ezin da atzitu.\n\nFitxategi hau saltatu eta eguneratzearekin "
    "jarraitu?",
    "\"%s\" urruneko fitxategia pasahitzez babestuta dago.\n\nIdatzi zure erabiltzaile-izena eta "
    "pasahitza (erregistratu ondoren jasoak) programaren eguneratzearekin jarraitzeko.",
    "Urruneko zerbitzariarekiko konexioa galdu da.\n\nBerreskuratu konexioa eta saiatu\nprograma "
    "hau geroago eguneratzen.",
};

const TMessageBlock kIndonesianMessages = {
    "Wizard Pembaruan Aplikasition",
    "Mengunduh file...",
    "Pembaruan selesai!",
    "File saat ini",
    "Semua file",
    "Mengunduh file dari",
    "Ukuran file: %.1f KB",
    "Kecepatan transfer: %.1f KB/s",
    "Perkiraan sisa waktu: %d:%.2d:%.2d",
    "Mengunduh %d dari %d",
    "Pembaruan %s telah berhasil diselesaikan.\n\nTekan tombol OK untuk memulai ulang program.",
    "Masukkan kata sandi",
    "Nama pengguna",
    "Kata sandi",
    "&Ya",
    "&Tidak",
    "&OK",
    "&Batal",
    "&Lanjut >",
    "&Nanti",
    "Peringatan",
    "Kesalahan",
    "Menyiapkan. . .",
    "Versi baru %s telah dirilis.\n%s\nApakah Anda ingin memperbarui versi Anda ke yang "
    "terbaru?",
    "Versi yang lebih baru tidak ditemukan. Anda sudah\nmenggunakan versi terbaru program ini.",
    "File yang berisi informasi pembaruan tidak ditemukan di situs pengembang.",
    "Host %s tidak dapat dijangkau.\n\nPeriksa koneksi Internet Anda dan\ncoba perbarui perangkat "
    "lunak ini lagi nanti.",
    "Pembaruan belum selesai.\nApakah Anda ingin membatalkan pembaruan?",
    "File %s tidak ditemukan atau tidak dapat diakses.\n\nLewati file ini dan lanjutkan pembaruan?",
    "Akses ke file jarak jauh \"%s\" dilindungi kata sandi.\n\nMasukkan nama pengguna dan kata "
    "sandi Anda (diterima setelah registrasi) untuk melanjutkan pembaruan perangkat lunak.",
    "Koneksi dengan server jarak jauh terputus.\n\nPulihkan koneksi dan coba\nperbarui perangkat "
    "lunak ini lagi nanti.",
};

const TMessageBlock kMalayMessages = {
    "Wizad pengemaskini aplikasi",
    "Memuat turun fail...",
    "Kemas kini selesai!",
    "Fail semasa",
    "Semua fail",
    "Memuat turun fail dari",
    "Saiz fail: %.1f KB",
    "Kadar pemindahan: %.1f KB/s",
    "Anggaran masa yang tinggal: %d:%.2d:%.2d",
    "Memuat turun %d daripada %d",
    "Kemas kini %s telah berjaya diselesaikan.\n\nTekan butang OK untuk memulakan semula program.",
    "Masukkan kata laluan",
    "Nama pengguna",
    "Kata laluan",
    "&Ya",
    "&Tidak",
    "&OK",
    "&Batal",
    "&Seterusnya >",
    "&Kemudian",
    "Amaran",
    "Ralat",
    "Sedang bersedia. . .",
    "Versi baharu %s telah dikeluarkan.\n%s\nAdakah anda mahu mengemas kini versi anda kepada yang "
    "terkini?",
    "Versi yang lebih baharu tidak ditemui. Anda sudah\nmenggunakan versi terkini program ini.",
    "Fail yang mengandungi maklumat kemas kini tidak ditemui di laman web pembangun.",
    "Hos %s tidak dapat dicapai.\n\nSila semak sambungan Internet anda dan\ncuba kemas kini "
    "perisian ini sekali lagi kemudian.",
    "Kemas kini belum selesai.\nAdakah anda mahu membatalkan kemas kini?",
    "Fail %s tidak ditemui atau tidak boleh dicapai.\n\nLangkau fail ini dan teruskan kemas kini?",
    "Akses ke fail jauh \"%s\" dilindungi kata laluan.\n\nSila masukkan nama pengguna dan kata "
    "laluan anda (diterima selepas pendaftaran) untuk meneruskan kemas kini perisian.",
    "Sambungan dengan pelayan jauh terputus.\n\nSila pulihkan sambungan dan cuba\nkemas kini "
    "perisian ini sekali lagi kemudian.",
};

const TMessageBlock kTurkishMessages = {
    "Gücelleme Sihirbazı",
    "Dosyalar indiriliyor...",
    "Güncelleme tamamlandı!",
    "Geçerli dosya",
    "Tüm dosyalar",
    "Dosya şuradan indiriliyor",
    "Dosya boyutu: %.1f KB",
    "Aktarım hızı: %.1f KB/s",
    "Tahmini kalan süre: %d:%.2d:%.2d",
    "İndiriliyor: %d / %d",
    "%s güncellemesi başarıyla tamamlandı.\n\nProgramı yeniden başlatmak için Tamam düğmesine "
    "basın.",
    "Parolayı girin",
    "Kullanıcı adı",
    "Parola",
    "&Evet",
    "&Hayır",
    "&Tamam",
    "İ&ptal",
    "İ&leri >",
    "&Sonra",
    "Uyarı",
    "Hata",
    "Hazırlanıyor. . .",
    "%s programının yeni bir sürümü yayınlandı.\n%s\nSürümünüzü en yenisine güncellemek istiyor "
    "musunuz?",
    "Daha yeni bir sürüm bulunamadı. Zaten bu programın\nen son sürümünü kullanıyorsunuz.",
    "Güncelleme bilgilerini içeren dosya geliştiricinin sitesinde bulunamadı.",
    "%s sunucusuna ulaşılamıyor.\n\nLütfen İnternet bağlantınızı denetleyin ve\nbu yazılımı daha "
    "sonra yeniden güncellemeyi deneyin.",
    "Güncelleme tamamlanmadı.\nGüncellemeyi iptal etmek istiyor musunuz?",
    "%s dosyası bulunamadı veya erişilemiyor.\n\nBu dosya atlanıp güncellemeye devam edilsin mi?",
    "Uzak dosya \"%s\" parola korumalıdır.\n\nYazılım güncellemesine devam etmek için lütfen "
    "kullanıcı adınızı ve parolanızı (kayıttan sonra aldığınız) girin.",
    "Uzak sunucuyla bağlantı kesildi.\n\nLütfen bağlantıyı yeniden kurun ve\nbu yazılımı daha "
    "sonra yeniden güncellemeyi deneyin.",
};
