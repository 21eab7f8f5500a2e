// The upgrade messages in Slavic languages.
#include "upgrade/messages/message_blocks.h"

const TMessageBlock kRussianMessages = {
    "Мастер обновления приложений",
    "Загрузка файлов...",
    "Обновление завершено!",
    "Текущий файл",
    "Все файлы",
    "Загрузка файла с",
    "Размер файла: %.1f КБ",
    "Скорость передачи: %.1f КБ/с",
    "Осталось времени: %d:%.2d:%.2d",
    "Загрузка %d из %d",
    "Обновление %s успешно завершено.\n\nНажмите кнопку OK для перезапуска программы.",
    "Введите пароль",
    "Имя пользователя",
    "Пароль",
    "&Да",
    "&Нет",
    "&OK",
    "О&тмена",
    "&Далее >",
    "&Позже",
    "Предупреждение",
    "Ошибка",
    "Подготовка. . .",
    "Вышла новая версия %s.\n%s\nХотите обновить свою версию до последней?",
    "Новая версия не найдена. Вы уже используете\nсамую последнюю версию этой программы.",
    "Файл с информацией об обновлении не найден на сайте разработчика.",
    "Сервер %s недоступен.\n\nПроверьте подключение к Интернету и\nповторите обновление программы "
    "позже.",
    "Обновление не завершено.\nПрервать обновление?",
    "Файл %s не найден или недоступен.\n\nПропустить этот файл и продолжить обновление?",
    "Доступ к удалённому файлу \"%s\" защищён паролем.\n\nВведите имя пользователя и пароль "
    "(полученные при регистрации), чтобы продолжить обновление программы.",
    "Соединение с удалённым сервером потеряно.\n\nВосстановите соединение и попробуйте\nобновить "
    "программу позже.",
};

const TMessageBlock kUkrainianMessages = {
    "Майcтер поновлення програм",
    "Завантаження файлів...",
    "Поновлення завершено!",
    "Поточний файл",
    "Усі файли",
    "Завантаження файлу з",
    "Розмір файлу: %.1f КБ",
    "Швидкість передачі: %.1f КБ/с",
    "Залишилося часу: %d:%.2d:%.2d",
    "Завантаження %d з %d",
    "Поновлення %s успішно завершено.\n\nНатисніть кнопку OK, щоб перезапустити програму.",
    "Введіть пароль",
    "Ім'я користувача",
    "Пароль",
    "&Так",
    "&Ні",
    "&OK",
    "&Скасувати",
    "&Далі >",
    "&Пізніше",
    "Попередження",
    "Помилка",
    "Підготовка. . .",
    "Вийшла нова версія %s.\n%s\nБажаєте поновити свою версію до останньої?",
    "Нової версії не знайдено. Ви вже використовуєте\nнайновішу версію цієї програми.",
    "Файл з інформацією про поновлення не знайдено на сайті розробника.",
    "Сервер %s недоступний.\n\nПеревірте підключення до Інтернету та\nспробуйте поновити програму "
    "пізніше.",
    "Поновлення не завершено.\nПерервати поновлення?",
    "Файл %s не знайдено або він недоступний.\n\nПропустити цей файл і продовжити поновлення?",
    "Доступ до віддаленого файлу \"%s\" захищено паролем.\n\nВведіть ім'я користувача та пароль "
    "(отримані після реєстрації), щоб продовжити поновлення програми.",
    "З'єднання з віддаленим сервером втрачено.\n\nВідновіть з'єднання та спробуйте\nпоновити "
    "програму пізніше.",
};

const TMessageBlock kPolishMessages = {
    "Master modernizacji aplikacji",
    "Pobieranie plików...",
    "Aktualizacja zakończona!",
    "Bieżący plik",
    "Wszystkie pliki",
    "Pobieranie pliku z",
    "Rozmiar pliku: %.1f KB",
    "Szybkość transferu: %.1f KB/s",
    "Szacowany pozostały czas: %d:%.2d:%.2d",
    "Pobieranie %d z %d",
    "Aktualizacja programu %s została pomyślnie zakończona.\n\nNaciśnij przycisk OK, aby ponownie "
    "uruchomić program.",
    "Podaj hasło",
    "Nazwa użytkownika",
    "Hasło",
    "&Tak",
    "&Nie",
    "&OK",
    "&Anuluj",
    "&Dalej >",
    "&Później",
    "Ostrzeżenie",
    "Błąd",
    "Przygotowywanie. . .",
    "Została wydana nowsza wersja programu %s.\n%s\nCzy chcesz zaktualizować swoją wersję do "
    "najnowszej?",
    "Nie znaleziono nowszej wersji. Używasz już\nnajnowszej wersji tego programu.",
    "Na stronie producenta nie znaleziono pliku z informacjami o aktualizacji.",
    "Serwer %s jest nieosiągalny.\n\nSprawdź połączenie z Internetem i\nspróbuj zaktualizować ten "
    "program później.",
    "Aktualizacja nie została zakończona.\nCzy chcesz przerwać aktualizację?",
    "Nie znaleziono pliku %s lub jest on niedostępny.\n\nCzy pominąć ten plik i kontynuować "
    "aktualizację?",
    "Dostęp do zdalnego pliku \"%s\" jest chroniony hasłem.\n\nPodaj nazwę użytkownika i hasło "
    "(otrzymane po rejestracji), aby kontynuować aktualizację programu.",
    "Połączenie ze zdalnym serwerem zostało przerwane.\n\nPrzywróć połączenie i "
    "spróbuj\nzaktualizować ten program później.",
};

const TMessageBlock kCzechMessages = {
    "Průvodce aktualizace programu",
    "Stahování souborů...",
    "Aktualizace dokončena!",
    "Aktuální soubor",
    "Všechny soubory",
    "Stahování souboru z",
    "Velikost souboru: %.1f kB",
    "Přenosová rychlost: %.1f kB/s",
    "Odhadovaný zbývající čas: %d:%.2d:%.2d",
    "Stahování %d z %d",
    "Aktualizace programu %s byla úspěšně dokončena.\n\nStisknutím tlačítka OK program "
    "restartujete.",
    "Zadejte heslo",
    "Uživatelské jméno",
    "Heslo",
    "&Ano",
    "&Ne",
    "&OK",
    "&Storno",
    "&Další >",
    "&Později",
    "Upozornění",
    "Chyba",
    "Příprava. . .",
    "Byla vydána novější verze programu %s.\n%s\nChcete aktualizovat svou verzi na nejnovější?",
    "Novější verze nebyla nalezena. Již používáte\nnejnovější verzi tohoto programu.",
    "Soubor s informacemi o aktualizaci nebyl na webu vývojáře nalezen.",
    "Server %s je nedostupný.\n\nZkontrolujte připojení k Internetu a\nzkuste tento program "
    "aktualizovat později.",
    "Aktualizace není dokončena.\nChcete aktualizaci přerušit?",
    "Soubor %s nebyl nalezen nebo není přístupný.\n\nPřeskočit tento soubor a pokračovat v "
    "aktualizaci?",
    "Přístup ke vzdálenému souboru \"%s\" je chráněn heslem.\n\nChcete-li pokračovat v aktualizaci "
    "programu, zadejte své uživatelské jméno a heslo (obdržené po registraci).",
    "Spojení se vzdáleným serverem bylo přerušeno.\n\nObnovte spojení a zkuste\ntento program "
    "aktualizovat později.",
};

const TMessageBlock kSlovakMessages = {
    "Sprievodca aktualizáciou programu",
    "Sťahovanie súborov...",
    "Aktualizácia dokončená!",
    "Aktuálny súbor",
    "Všetky súbory",
    "Sťahovanie súboru z",
    "Veľkosť súboru: %.1f kB",
    "Prenosová rýchlosť: %.1f kB/s",
    "Odhadovaný zostávajúci čas: %d:%.2d:%.2d",
    "Sťahovanie %d z %d",
    "Aktualizácia programu %s bola úspešne dokončená.\n\nStlačte tlačidlo OK na reštartovanie "
    "programu.",
    "Zadajte heslo",
    "Používateľské meno",
    "Heslo",
    "&Áno",
    "&Nie",
    "&OK",
    "&Zrušiť",
    "Ď&alej >",
    "&Neskôr",
    "Upozornenie",
    "Chyba",
    "Príprava. . .",
    "Bola vydaná novšia verzia programu %s.\n%s\nChcete aktualizovať svoju verziu na najnovšiu?",
    "Novšia verzia sa nenašla. Už používate\nnajnovšiu verziu tohto programu.",
    "Súbor s informáciami o aktualizácii sa na webovej lokalite vývojára nenašiel.",
    "Server %s je nedostupný.\n\nSkontrolujte pripojenie na Internet a\nskúste tento program "
    "aktualizovať neskôr.",
    "Aktualizácia nie je dokončená.\nChcete aktualizáciu prerušiť?",
    "Súbor %s sa nenašiel alebo nie je prístupný.\n\nPreskočiť tento súbor a pokračovať v "
    "aktualizácii?",
    "Prístup k vzdialenému súboru \"%s\" je chránený heslom.\n\nZadajte svoje používateľské meno a "
    "heslo (získané po registrácii) na pokračovanie v aktualizácii programu.",
    "Spojenie so vzdialeným serverom sa prerušilo.\n\nObnovte spojenie a skúste\ntento program "
    "aktualizovať neskôr.",
};
