#pragma once

#include <QString>

// The version of this build of the client: the About page shows it and the upgrade check offers
// it to the vendor's information file. Each client executable links one version object, so two
// clients of different versions share all other code.
QString ProgramVersionNumber();
// Its release date, "MM/dd/yyyy".
QString ProgramVersionDate();
