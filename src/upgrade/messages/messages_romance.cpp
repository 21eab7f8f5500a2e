// The upgrade messages in Romance languages.
#include "upgrade/messages/message_blocks.h"

const TMessageBlock kFrenchMessages = {
    "Expert de mise à jour d'application",
    "Téléchargement des fichiers...",
    "Mise à jour terminée !",
    "Fichier en cours",
    "Tous les fichiers",
    "Téléchargement du fichier depuis",
    "Taille du fichier : %.1f Ko",
    "Débit : %.1f Ko/s",
    "Temps restant estimé : %d:%.2d:%.2d",
    "Téléchargement du fichier %d sur %d",
    "La mise à jour de %s s'est terminée avec succès.\n\nCliquez sur OK pour redémarrer le "
    "programme.",
    "Saisir le mot de passe",
    "Nom d'utilisateur",
    "Mot de passe",
    "&Oui",
    "&Non",
    "&OK",
    "&Annuler",
    "&Suivant >",
    "&Plus tard",
    "Avertissement",
    "Erreur",
    "Préparation. . .",
    "Une nouvelle version de %s est disponible.\n%s\nVoulez-vous passer à la dernière version ?",
    "Aucune version plus récente n'a été trouvée. Vous utilisez\ndéjà la dernière version de ce "
    "programme.",
    "Le fichier contenant les informations de mise à jour est introuvable sur le site de "
    "l'éditeur.",
    "Le serveur %s est inaccessible.\n\nVeuillez vérifier votre connexion Internet et\nréessayer "
    "la mise à jour de ce logiciel plus tard.",
    "La mise à jour n'est pas terminée.\nVoulez-vous abandonner la mise à jour ?",
    "Le fichier %s est introuvable ou inaccessible.\n\nIgnorer ce fichier et poursuivre la mise à "
    "jour ?",
    "L'accès au fichier distant \"%s\" est protégé par un mot de passe.\n\nVeuillez saisir votre "
    "nom d'utilisateur et votre mot de passe (reçus lors de l'enregistrement) pour poursuivre la "
    "mise à jour du logiciel.",
    "La connexion avec le serveur distant a été perdue.\n\nVeuillez rétablir la connexion et "
    "réessayer\nla mise à jour de ce logiciel plus tard.",
};

const TMessageBlock kSpanishMessages = {
    "Asistente de actualización",
    "Descargando archivos...",
    "¡Actualización completada!",
    "Archivo actual",
    "Todos los archivos",
    "Descargando archivo desde",
    "Tamaño del archivo: %.1f KB",
    "Velocidad de transferencia: %.1f KB/s",
    "Tiempo restante estimado: %d:%.2d:%.2d",
    "Descargando %d de %d",
    "La actualización de %s se ha completado correctamente.\n\nPulse el botón Aceptar para "
    "reiniciar el programa.",
    "Introduzca la contraseña",
    "Nombre de usuario",
    "Contraseña",
    "&Sí",
    "&No",
    "&Aceptar",
    "&Cancelar",
    "&Siguiente >",
    "&Más tarde",
    "Advertencia",
    "Error",
    "Preparando. . .",
    "Se ha publicado una nueva versión de %s.\n%s\n¿Desea actualizar su versión a la más reciente?",
    "No se encontró ninguna versión nueva. Ya está\nusando la versión más reciente de este "
    "programa.",
    "No se encontró el archivo con la información de actualización en el sitio web del "
    "desarrollador.",
    "No se puede acceder al servidor %s.\n\nCompruebe su conexión a Internet e\nintente actualizar "
    "este programa más tarde.",
    "La actualización no se ha completado.\n¿Desea cancelar la actualización?",
    "No se encontró el archivo %s o no se puede acceder a él.\n\n¿Desea omitir este archivo y "
    "continuar la actualización?",
    "El acceso al archivo remoto \"%s\" está protegido con contraseña.\n\nIntroduzca su nombre de "
    "usuario y contraseña (recibidos tras el registro) para continuar la actualización del "
    "programa.",
    "Se ha perdido la conexión con el servidor remoto.\n\nRestablezca la conexión e "
    "intente\nactualizar este programa más tarde.",
};

const TMessageBlock kPortugueseMessages = {
    "Actualização do Software",
    "A transferir ficheiros...",
    "Actualização concluída!",
    "Ficheiro actual",
    "Todos os ficheiros",
    "A transferir ficheiro de",
    "Tamanho do ficheiro: %.1f KB",
    "Taxa de transferência: %.1f KB/s",
    "Tempo restante estimado: %d:%.2d:%.2d",
    "A transferir %d de %d",
    "A actualização de %s foi concluída com êxito.\n\nPrima o botão OK para reiniciar o programa.",
    "Introduza a palavra-passe",
    "Nome de utilizador",
    "Palavra-passe",
    "&Sim",
    "&Não",
    "&OK",
    "&Cancelar",
    "&Seguinte >",
    "&Mais tarde",
    "Aviso",
    "Erro",
    "A preparar. . .",
    "Foi lançada uma nova versão de %s.\n%s\nDeseja actualizar a sua versão para a mais recente?",
    "Não foi encontrada uma versão mais recente. Já está\na utilizar a versão mais recente deste "
    "programa.",
    "O ficheiro com as informações de actualização não foi encontrado no sítio do programador.",
    "Não é possível contactar o servidor %s.\n\nVerifique a sua ligação à Internet e\ntente "
    "actualizar este programa mais tarde.",
    "A actualização não está concluída.\nDeseja cancelar a actualização?",
    "O ficheiro %s não foi encontrado ou está inacessível.\n\nIgnorar este ficheiro e continuar a "
    "actualização?",
    "O acesso ao ficheiro remoto \"%s\" está protegido por palavra-passe.\n\nIntroduza o seu nome "
    "de utilizador e palavra-passe (recebidos após o registo) para continuar a actualização do "
    "programa.",
    "A ligação ao servidor remoto foi perdida.\n\nRestabeleça a ligação e tente\nactualizar este "
    "programa mais tarde.",
};

const TMessageBlock kPortugueseBrazilianMessages = {
    "Ajudante de Atualização Aplicação",
    "Baixando arquivos...",
    "Atualização concluída!",
    "Arquivo atual",
    "Todos os arquivos",
    "Baixando arquivo de",
    "Tamanho do arquivo: %.1f KB",
    "Taxa de transferência: %.1f KB/s",
    "Tempo restante estimado: %d:%.2d:%.2d",
    "Baixando %d de %d",
    "A atualização de %s foi concluída com sucesso.\n\nClique no botão OK para reiniciar o "
    "programa.",
    "Digite a senha",
    "Nome de usuário",
    "Senha",
    "&Sim",
    "&Não",
    "&OK",
    "&Cancelar",
    "&Próximo >",
    "&Mais tarde",
    "Aviso",
    "Erro",
    "Preparando. . .",
    "Uma nova versão de %s foi lançada.\n%s\nDeseja atualizar sua versão para a mais recente?",
    "Nenhuma versão mais recente foi encontrada. Você já está\nusando a versão mais recente deste "
    "programa.",
    "O arquivo com as informações de atualização não foi encontrado no site do desenvolvedor.",
    "Não foi possível acessar o servidor %s.\n\nVerifique sua conexão com a Internet e\ntente "
    "atualizar este programa mais tarde.",
    "A atualização não foi concluída.\nDeseja cancelar a atualização?",
    "O arquivo %s não foi encontrado ou está inacessível.\n\nDeseja ignorar este arquivo e "
    "continuar a atualização?",
    "O acesso ao arquivo remoto \"%s\" é protegido por senha.\n\nDigite seu nome de usuário e "
    "senha (recebidos após o registro) para continuar a atualização do programa.",
    "A conexão com o servidor remoto foi perdida.\n\nRestabeleça a conexão e tente\natualizar este "
    "programa mais tarde.",
};

const TMessageBlock kItalianMessages = {
    "Wizard di Applicazione di aggiornamento",
    "Download dei file in corso...",
    "Aggiornamento completato!",
    "File corrente",
    "Tutti i file",
    "Download del file da",
    "Dimensione del file: %.1f KB",
    "Velocità di trasferimento: %.1f KB/s",
    "Tempo residuo stimato: %d:%.2d:%.2d",
    "Download %d di %d",
    "L'aggiornamento di %s è stato completato con successo.\n\nPremere il pulsante OK per "
    "riavviare il programma.",
    "Inserire la password",
    "Nome utente",
    "Password",
    "&Sì",
    "&No",
    "&OK",
    "&Annulla",
    "A&vanti >",
    "&Più tardi",
    "Avviso",
    "Errore",
    "Preparazione. . .",
    "È stata rilasciata una nuova versione di %s.\n%s\nAggiornare la versione in uso alla più "
    "recente?",
    "Nessuna versione più recente trovata. Si sta già\nutilizzando l'ultima versione di questo "
    "programma.",
    "Il file con le informazioni di aggiornamento non è stato trovato sul sito dello sviluppatore.",
    "Impossibile raggiungere il server %s.\n\nControllare la connessione a Internet e\nriprovare "
    "ad aggiornare questo software più tardi.",
    "L'aggiornamento non è stato completato.\nInterrompere l'aggiornamento?",
    "Il file %s non è stato trovato o non è accessibile.\n\nSaltare questo file e continuare "
    "l'aggiornamento?",
    "L'accesso al file remoto \"%s\" è protetto da password.\n\nInserire il nome utente e la "
    "password (ricevuti dopo la registrazione) per continuare l'aggiornamento del software.",
    "Connessione con il server remoto interrotta.\n\nRipristinare la connessione e riprovare\nad "
    "aggiornare questo software più tardi.",
};

const TMessageBlock kRomanianMessages = {
    "Expertul de actualizare a aplicaţiei",
    "Se descarcă fișierele...",
    "Actualizare finalizată!",
    "Fișierul curent",
    "Toate fișierele",
    "Se descarcă fișierul de la",
    "Dimensiunea fișierului: %.1f KB",
    "Viteza de transfer: %.1f KB/s",
    "Timp rămas estimat: %d:%.2d:%.2d",
    "Se descarcă %d din %d",
    "Actualizarea aplicației %s s-a finalizat cu succes.\n\nApăsați butonul OK pentru a reporni "
    "programul.",
    "Introduceți parola",
    "Nume utilizator",
    "Parolă",
    "&Da",
    "&Nu",
    "&OK",
    "&Anulare",
    "Îna&inte >",
    "&Mai târziu",
    "Avertisment",
    "Eroare",
    "Se pregătește. . .",
    "A fost lansată o versiune mai nouă a aplicației %s.\n%s\nDoriți să actualizați la cea mai "
    "recentă versiune?",
    "Nu s-a găsit o versiune mai nouă. Utilizați deja\ncea mai recentă versiune a acestui program.",
    "Fișierul care conține informațiile de actualizare nu a fost găsit pe site-ul dezvoltatorului.",
    "Serverul %s nu poate fi contactat.\n\nVerificați conexiunea la Internet și\nîncercați să "
    "actualizați acest program mai târziu.",
    "Actualizarea nu este finalizată.\nDoriți să abandonați actualizarea?",
    "Fișierul %s nu a fost găsit sau nu este accesibil.\n\nDoriți să omiteți acest fișier și să "
    "continuați actualizarea?",
    "Accesul la fișierul la distanță \"%s\" este protejat prin parolă.\n\nIntroduceți numele de "
    "utilizator și parola (primite după înregistrare) pentru a continua actualizarea programului.",
    "Conexiunea cu serverul la distanță s-a pierdut.\n\nRestabiliți conexiunea și încercați\nsă "
    "actualizați acest program mai târziu.",
};

const TMessageBlock kCatalanMessages = {
    "Assistent d'actualització",
    "S'estan baixant els fitxers...",
    "Actualització completada!",
    "Fitxer actual",
    "Tots els fitxers",
    "S'està baixant el fitxer de",
    "Mida del fitxer: %.1f KB",
    "Velocitat de transferència: %.1f KB/s",
    "Temps restant estimat: %d:%.2d:%.2d",
    "S'està baixant %d de %d",
    "L'actualització de %s s'ha completat correctament.\n\nPremeu el botó D'acord per reiniciar el "
    "programa.",
    "Introduïu la contrasenya",
    "Nom d'usuari",
    "Contrasenya",
    "&Sí",
    "&No",
    "&D'acord",
    "&Cancel·la",
    "&Següent >",
    "&Més tard",
    "Avís",
    "Error",
    "S'està preparant. . .",
    "S'ha publicat una versió nova de %s.\n%s\nVoleu actualitzar la vostra versió a la més recent?",
    "No s'ha trobat cap versió més nova. Ja esteu\nutilitzant la versió més recent d'aquest "
    "programa.",
    "No s'ha trobat al lloc web del desenvolupador el fitxer amb la informació d'actualització.",
    "No es pot accedir al servidor %s.\n\nComproveu la connexió a Internet i\nintenteu actualitzar "
    "aquest programari més tard.",
    "L'actualització no s'ha completat.\nVoleu cancel·lar l'actualització?",
    "No s'ha trobat el fitxer %s o no és accessible.\n\nVoleu ometre aquest fitxer i continuar "
    "l'actualització?",
    "L'accés al fitxer remot \"%s\" està protegit amb contrasenya.\n\nIntroduïu el vostre nom "
    "d'usuari i contrasenya (rebuts en registrar-vos) per continuar l'actualització del "
    "programari.",
    "S'ha perdut la connexió amb el servidor remot.\n\nRestabliu la connexió i "
    "intenteu\nactualitzar aquest programari més tard.",
};
