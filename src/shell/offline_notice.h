#pragma once

#include <QString>

// The game list pane's page when the catalogue cannot be reached: what happened, and where the
// games already played are.
QString CatalogueUnreachablePage();
