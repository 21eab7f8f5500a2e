#pragma once

#include "common/date_time.h"
#include "upgrade/au_set.h"

#include <QIODevice>
#include <QString>
#include <optional>

// Free functions shared by the upgrade family: the on-line test, percentages and versions,
// opening an address in the user's browser, file names and hosts of addresses, HTTP dates,
// file times, sizes and attributes, the program's resources, closing the application and a
// wait that keeps the user interface alive. They keep no state of their own.

enum TauFileAttribute { atrArchive, atrHidden, atrReadOnly, atrSystem, atrTemporary, atrOffline };
using TauFileAttributes = TauSet<TauFileAttribute>;

// An event made by WaitWithMessages: 0 before the first wait, -1 once the wait is over.
using TauEventHandle = qintptr;
constexpr TauEventHandle kNoEvent = 0;
constexpr TauEventHandle kClosedEvent = -1;

// The program's own resources: there is only the one module.
enum class TauModule { Program };

bool IsOnline();
bool HasLocalNetworkAddress();

// Part of Whole in per cent, rounded half to even, kept as its low 8 bits; 0 for a Whole of 0.
quint8 CalcPercent(long double part, long double whole);

// Opens Url, taken as an http address unless it starts with a scheme, with the desktop's browser
// (UseBrowser) or its handler for the address.
void OpenURL(QString url, bool useBrowser);
QString FindAssociatedProgram(const QString& extension);
void SplitCommandLine(QString& command, QString& params);
// Flags: 1 appends Sep to Left, 2 puts Sep in front of Right.
void SplitAtSeparator(const QString& sep, const QString& text, QString& left, quint8 flags,
                      bool defaultToRight, QString& right);

// The temporary folder with a trailing "/", or the program folder when it does not exist.
QString TempFolder();
bool IsDirectory(const QString& path);
QString URLToFileName(const QString& url);
// +1 when A is the newer version, -1 when B is, 0 when they are equal.
qint8 CompareVersions(const QString& a, const QString& b);

// An HTTP date header as local time; exactly 0 for an empty text.
TDateTime ParseHTTPDate(const QString& text);
// "+hhmm" or "-hhmm" as a fraction of a day; 0 for anything else.
double ParseZoneOffset(const QString& text);
// The system's offset of UTC from local time, daylight saving included, as a fraction of a day.
double LocalTimeBias();

// A value of -1 leaves that time as it is; the file system keeps no creation time here.
bool SetFileTimes(const QString& fileName, TDateTime creation, TDateTime lastWrite,
                  TDateTime lastAccess);
// Seconds since 1970 of the date-time taken to two seconds, its local fields read as UTC;
// empty outside the years 1980 to 2107.
std::optional<qint64> DateTimeToFileTime(TDateTime dateTime);
// -1 when the file cannot be opened.
qint64 GetFileSize64(const QString& fileName);
bool SaveResourceToStream(TauModule module, const QString& name, const QString& type,
                          QIODevice* stream);

void CloseApplication();
// True once the application has been asked to end.
bool ApplicationTerminating();
// Waits until Event is signalled or Timeout milliseconds (0: no limit) pass without any event
// arriving for the UI thread, handling those that arrive; Event is -1 afterwards.
void WaitWithMessages(TauEventHandle& event, quint32 timeout, bool stopOnTerminate);
// Any thread; a signal given while nobody waits is dropped.
void SignalEvent(TauEventHandle event);

bool ApplyFileAttributes(const QString& fileName, TauFileAttributes attributes);

bool CrackURL(QString url, QString& scheme, QString& hostName, QString& path, QString& userName,
              QString& password, QString& extraInfo, quint16& port);
QString EncodeURLExtra(const QString& text);
// The path of URL as the address writes it, fit for a request line: the escape sequences it
// holds are kept, what cannot stand there is escaped; "/" for none. Empty for no address.
QByteArray URLRequestPath(const QString& url);
QString HostFromURL(const QString& url);
QString FileFromURL(const QString& url);
