#pragma once

#include <QString>
#include <map>

// The process's table of global atoms: a name held under a 16-bit number from 0xC000 up,
// names matched without regard to case, each addition counted and the atom gone when the last
// one is deleted. Hot keys are registered under such numbers.
class TGlobalAtoms {
public:
    static TGlobalAtoms& Instance();

    // The atom of Name, made on the first addition; 0 for an empty name or a full table.
    quint16 Add(const QString& name);
    // Takes back one addition; false for an atom that does not exist.
    bool Delete(quint16 atom);
    // Empty when the atom does not exist.
    QString Name(quint16 atom) const;

private:
    struct TAtom {
        QString name;
        int count = 0;
    };
    std::map<quint16, TAtom> FAtoms;
};
