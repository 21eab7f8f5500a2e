#pragma once

#include <QObject>
#include <QString>

// The skin engine: a skin file is a Qt style sheet applied to the whole application. It starts
// active with the built-in skin; a skin file that cannot be read, or is not a style sheet Qt can
// parse, leaves the built-in one on.
class TSkinData : public QObject {
    Q_OBJECT
public:
    explicit TSkinData(QObject* parent = nullptr);

    QString SkinFile() const { return FSkinFile; }
    // Takes effect at once while the engine is active.
    void SetSkinFile(const QString& path);
    bool Active() const { return FActive; }
    void Activate();

    // The style sheet in force: the skin file's, or the built-in one.
    QString AppliedStyleSheet() const { return FApplied; }

private:
    void Apply();

    QString FSkinFile;
    QString FApplied;
    bool FActive = true;
};
