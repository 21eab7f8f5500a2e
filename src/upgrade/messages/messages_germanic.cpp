// The upgrade messages in Germanic languages.
#include "upgrade/messages/message_blocks.h"

const TMessageBlock kGermanMessages = {
    "Upgrade Anwendungsassistent",
    "Dateien werden heruntergeladen...",
    "Aktualisierung abgeschlossen!",
    "Aktuelle Datei",
    "Alle Dateien",
    "Datei wird heruntergeladen von",
    "Dateigröße: %.1f KB",
    "Übertragungsrate: %.1f KB/s",
    "Geschätzte Restzeit: %d:%.2d:%.2d",
    "Herunterladen: %d von %d",
    "Die Aktualisierung von %s wurde erfolgreich abgeschlossen.\n\nKlicken Sie auf OK, um das "
    "Programm neu zu starten.",
    "Kennwort eingeben",
    "Benutzername",
    "Kennwort",
    "&Ja",
    "&Nein",
    "&OK",
    "&Abbrechen",
    "&Weiter >",
    "&Später",
    "Warnung",
    "Fehler",
    "Vorbereitung. . .",
    "Eine neuere Version von %s ist erschienen.\n%s\nMöchten Sie Ihre Version auf die neueste "
    "aktualisieren?",
    "Keine neuere Version gefunden. Sie verwenden\nbereits die aktuellste Version dieses "
    "Programms.",
    "Die Datei mit den Aktualisierungsinformationen wurde auf der Website des Herstellers nicht "
    "gefunden.",
    "Der Server %s ist nicht erreichbar.\n\nBitte prüfen Sie Ihre Internetverbindung "
    "und\nversuchen Sie die Aktualisierung später erneut.",
    "Die Aktualisierung ist nicht abgeschlossen.\nMöchten Sie die Aktualisierung abbrechen?",
    "Die Datei %s wurde nicht gefunden oder ist nicht zugänglich.\n\nDiese Datei überspringen und "
    "die Aktualisierung fortsetzen?",
    "Der Zugriff auf die entfernte Datei \"%s\" ist kennwortgeschützt.\n\nBitte geben Sie Ihren "
    "Benutzernamen und Ihr Kennwort (nach der Registrierung erhalten) ein, um die Aktualisierung "
    "fortzusetzen.",
    "Die Verbindung zum entfernten Server wurde unterbrochen.\n\nBitte stellen Sie die Verbindung "
    "wieder her und\nversuchen Sie die Aktualisierung später erneut.",
};

const TMessageBlock kDutchMessages = {
    "Upgrade wizard",
    "Bestanden downloaden...",
    "Update voltooid!",
    "Huidig bestand",
    "Alle bestanden",
    "Bestand downloaden van",
    "Bestandsgrootte: %.1f KB",
    "Overdrachtssnelheid: %.1f KB/s",
    "Geschatte resterende tijd: %d:%.2d:%.2d",
    "Bestand %d van %d downloaden",
    "De update van %s is met succes voltooid.\n\nKlik op OK om het programma opnieuw te starten.",
    "Wachtwoord invoeren",
    "Gebruikersnaam",
    "Wachtwoord",
    "&Ja",
    "&Nee",
    "&OK",
    "&Annuleren",
    "&Volgende >",
    "&Later",
    "Waarschuwing",
    "Fout",
    "Voorbereiden. . .",
    "Er is een nieuwe versie van %s uitgebracht.\n%s\nWilt u uw versie bijwerken naar de nieuwste?",
    "Geen nieuwere versie gevonden. U gebruikt al\nde meest recente versie van dit programma.",
    "Het bestand met de update-informatie is niet gevonden op de website van de ontwikkelaar.",
    "Host %s is onbereikbaar.\n\nControleer uw internetverbinding en\nprobeer deze software later "
    "opnieuw bij te werken.",
    "De update is niet voltooid.\nWilt u het bijwerken afbreken?",
    "Bestand %s is niet gevonden of niet toegankelijk.\n\nDit bestand overslaan en doorgaan met "
    "bijwerken?",
    "Toegang tot het externe bestand \"%s\" is met een wachtwoord beveiligd.\n\nVoer uw "
    "gebruikersnaam en wachtwoord in (ontvangen na registratie) om door te gaan met het bijwerken "
    "van de software.",
    "De verbinding met de externe server is verbroken.\n\nHerstel de verbinding en probeer\ndeze "
    "software later opnieuw bij te werken.",
};

const TMessageBlock kDanishMessages = {
    "Programopdatering",
    "Henter filer...",
    "Opdateringen er fuldført!",
    "Aktuel fil",
    "Alle filer",
    "Henter fil fra",
    "Filstørrelse: %.1f KB",
    "Overførselshastighed: %.1f KB/s",
    "Anslået resterende tid: %d:%.2d:%.2d",
    "Henter %d af %d",
    "Opdateringen af %s er fuldført.\n\nTryk på OK for at genstarte programmet.",
    "Indtast adgangskode",
    "Brugernavn",
    "Adgangskode",
    "&Ja",
    "&Nej",
    "&OK",
    "&Annuller",
    "&Næste >",
    "&Senere",
    "Advarsel",
    "Fejl",
    "Forbereder. . .",
    "En nyere version af %s er udgivet.\n%s\nVil du opdatere din version til den nyeste?",
    "Der blev ikke fundet en nyere version. Du bruger\nallerede den nyeste version af dette "
    "program.",
    "Filen med opdateringsoplysningerne blev ikke fundet på udviklerens websted.",
    "Værten %s kan ikke nås.\n\nKontroller din internetforbindelse, og\nprøv at opdatere dette "
    "program igen senere.",
    "Opdateringen er ikke fuldført.\nVil du afbryde opdateringen?",
    "Filen %s blev ikke fundet eller er ikke tilgængelig.\n\nVil du springe denne fil over og "
    "fortsætte opdateringen?",
    "Adgang til fjernfilen \"%s\" er beskyttet med adgangskode.\n\nIndtast dit brugernavn og din "
    "adgangskode (modtaget ved registrering) for at fortsætte opdateringen af programmet.",
    "Forbindelsen til fjernserveren blev afbrudt.\n\nGenopret forbindelsen, og prøv\nat opdatere "
    "dette program igen senere.",
};

const TMessageBlock kSwedishMessages = {
    "Programuppdateringsguide",
    "Hämtar filer...",
    "Uppdateringen är klar!",
    "Aktuell fil",
    "Alla filer",
    "Hämtar fil från",
    "Filstorlek: %.1f kB",
    "Överföringshastighet: %.1f kB/s",
    "Beräknad återstående tid: %d:%.2d:%.2d",
    "Hämtar %d av %d",
    "Uppdateringen av %s har slutförts.\n\nKlicka på OK för att starta om programmet.",
    "Ange lösenord",
    "Användarnamn",
    "Lösenord",
    "&Ja",
    "&Nej",
    "&OK",
    "&Avbryt",
    "&Nästa >",
    "&Senare",
    "Varning",
    "Fel",
    "Förbereder. . .",
    "En nyare version av %s har släppts.\n%s\nVill du uppdatera din version till den senaste?",
    "Ingen nyare version hittades. Du använder\nredan den senaste versionen av programmet.",
    "Filen med uppdateringsinformation hittades inte på utvecklarens webbplats.",
    "Värden %s kan inte nås.\n\nKontrollera din Internetanslutning och\nförsök uppdatera "
    "programmet igen senare.",
    "Uppdateringen är inte klar.\nVill du avbryta uppdateringen?",
    "Filen %s hittades inte eller är inte tillgänglig.\n\nVill du hoppa över filen och fortsätta "
    "uppdateringen?",
    "Åtkomst till fjärrfilen \"%s\" är lösenordsskyddad.\n\nAnge ditt användarnamn och lösenord "
    "(som du fick vid registreringen) för att fortsätta uppdateringen.",
    "Anslutningen till fjärrservern bröts.\n\nÅterställ anslutningen och försök\nuppdatera "
    "programmet igen senare.",
};

const TMessageBlock kNorwegianMessages = {
    "Programoppdatering",
    "Laster ned filer...",
    "Oppdateringen er fullført!",
    "Gjeldende fil",
    "Alle filer",
    "Laster ned fil fra",
    "Filstørrelse: %.1f KB",
    "Overføringshastighet: %.1f KB/s",
    "Beregnet gjenstående tid: %d:%.2d:%.2d",
    "Laster ned %d av %d",
    "Oppdateringen av %s er fullført.\n\nTrykk OK for å starte programmet på nytt.",
    "Skriv inn passord",
    "Brukernavn",
    "Passord",
    "&Ja",
    "&Nei",
    "&OK",
    "&Avbryt",
    "&Neste >",
    "&Senere",
    "Advarsel",
    "Feil",
    "Forbereder. . .",
    "En nyere versjon av %s er utgitt.\n%s\nVil du oppdatere versjonen din til den nyeste?",
    "Fant ingen nyere versjon. Du bruker allerede\nden nyeste versjonen av dette programmet.",
    "Filen med oppdateringsinformasjon ble ikke funnet på utviklerens nettsted.",
    "Verten %s kan ikke nås.\n\nKontroller Internett-tilkoblingen og\nprøv å oppdatere programmet "
    "igjen senere.",
    "Oppdateringen er ikke fullført.\nVil du avbryte oppdateringen?",
    "Filen %s ble ikke funnet eller er ikke tilgjengelig.\n\nVil du hoppe over denne filen og "
    "fortsette oppdateringen?",
    "Tilgang til den eksterne filen \"%s\" er passordbeskyttet.\n\nSkriv inn brukernavn og passord "
    "(mottatt etter registrering) for å fortsette oppdateringen av programmet.",
    "Forbindelsen med den eksterne serveren ble brutt.\n\nGjenopprett forbindelsen og prøv\nå "
    "oppdatere programmet igjen senere.",
};

const TMessageBlock kIcelandicMessages = {
    "Uppfærsla hugbúnaðar",
    "Sæki skrár...",
    "Uppfærslu lokið!",
    "Núverandi skrá",
    "Allar skrár",
    "Sæki skrá frá",
    "Skráarstærð: %.1f KB",
    "Flutningshraði: %.1f KB/s",
    "Áætlaður tími eftir: %d:%.2d:%.2d",
    "Sæki %d af %d",
    "Uppfærslu á %s er lokið.\n\nSmelltu á Í lagi til að endurræsa forritið.",
    "Sláðu inn lykilorð",
    "Notandanafn",
    "Lykilorð",
    "&Já",
    "&Nei",
    "Í &lagi",
    "&Hætta við",
    "&Næsta >",
    "&Seinna",
    "Viðvörun",
    "Villa",
    "Undirbý. . .",
    "Ný útgáfa af %s er komin út.\n%s\nViltu uppfæra í nýjustu útgáfuna?",
    "Engin nýrri útgáfa fannst. Þú ert þegar\nað nota nýjustu útgáfu þessa forrits.",
    "Skráin með upplýsingum um uppfærsluna fannst ekki á vef framleiðandans.",
    "Ekki næst samband við %s.\n\nAthugaðu nettenginguna þína og\nreyndu að uppfæra hugbúnaðinn "
    "aftur síðar.",
    "Uppfærslunni er ekki lokið.\nViltu hætta við uppfærsluna?",
    "Skráin %s fannst ekki eða er ekki aðgengileg.\n\nViltu sleppa þessari skrá og halda "
    "uppfærslunni áfram?",
    "Aðgangur að fjartengdu skránni \"%s\" er varinn með lykilorði.\n\nSláðu inn notandanafn og "
    "lykilorð (sem þú fékkst við skráningu) til að halda uppfærslu hugbúnaðarins áfram.",
    "Tengingin við fjartengda þjóninn rofnaði.\n\nKomdu tengingunni á aftur og reyndu\nað uppfæra "
    "hugbúnaðinn aftur síðar.",
};

const TMessageBlock kAfrikaansMessages = {
    "Applikasie dateringstel",
    "Lêers word afgelaai...",
    "Opdatering voltooi!",
    "Huidige lêer",
    "Alle lêers",
    "Lêer word afgelaai vanaf",
    "Lêergrootte: %.1f KB",
    "Oordragspoed: %.1f KB/s",
    "Geskatte oorblywende tyd: %d:%.2d:%.2d",
    "Laai %d van %d af",
    "Die opdatering van %s is suksesvol voltooi.\n\nDruk die OK-knoppie om die program te "
    "herbegin.",
    "Voer wagwoord in",
    "Gebruikersnaam",
    "Wagwoord",
    "&Ja",
    "&Nee",
    "&OK",
    "&Kanselleer",
    "&Volgende >",
    "&Later",
    "Waarskuwing",
    "Fout",
    "Berei voor. . .",
    "'n Nuwer weergawe van %s is vrygestel.\n%s\nWil u na die nuutste weergawe opdateer?",
    "Geen nuwer weergawe gevind nie. U gebruik reeds\ndie nuutste weergawe van hierdie program.",
    "Die lêer met die opdateringsinligting is nie op die ontwikkelaar se webwerf gevind nie.",
    "Bediener %s is onbereikbaar.\n\nGaan asseblief u internetverbinding na en\nprobeer later weer "
    "om hierdie sagteware op te dateer.",
    "Die opdatering is nie voltooi nie.\nWil u die opdatering staak?",
    "Lêer %s is nie gevind nie of is ontoeganklik.\n\nWil u hierdie lêer oorslaan en met die "
    "opdatering voortgaan?",
    "Toegang tot afgeleë lêer \"%s\" is met 'n wagwoord beskerm.\n\nVoer asseblief u "
    "gebruikersnaam en wagwoord in (ontvang na registrasie) om met die sagteware-opdatering voort "
    "te gaan.",
    "Verbinding met die afgeleë bediener is verbreek.\n\nHerstel asseblief die verbinding en "
    "probeer\nlater weer om hierdie sagteware op te dateer.",
};
