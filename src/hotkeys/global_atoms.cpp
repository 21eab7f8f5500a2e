#include "hotkeys/global_atoms.h"

namespace {

constexpr quint16 kFirstAtom = 0xC000;
constexpr quint16 kLastAtom = 0xFFFF;

} // namespace

TGlobalAtoms& TGlobalAtoms::Instance() {
    static TGlobalAtoms atoms;
    return atoms;
}

quint16 TGlobalAtoms::Add(const QString& name) {
    if (name.isEmpty())
        return 0;
    for (auto& [atom, entry] : FAtoms) {
        if (entry.name.compare(name, Qt::CaseInsensitive) == 0) {
            ++entry.count;
            return atom;
        }
    }
    // The lowest free number, so that numbers are used again after their atoms are gone.
    quint32 free = kFirstAtom;
    for (const auto& [atom, entry] : FAtoms) {
        if (atom != free)
            break;
        ++free;
    }
    if (free > kLastAtom)
        return 0;
    FAtoms.emplace(quint16(free), TAtom{name, 1});
    return quint16(free);
}

bool TGlobalAtoms::Delete(quint16 atom) {
    const auto found = FAtoms.find(atom);
    if (found == FAtoms.end())
        return false;
    if (--found->second.count == 0)
        FAtoms.erase(found);
    return true;
}

QString TGlobalAtoms::Name(quint16 atom) const {
    const auto found = FAtoms.find(atom);
    return found == FAtoms.end() ? QString() : found->second.name;
}
