#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <utility>

namespace platform {

// KDE's kdeglobals as KConfig reads it: files from the least specific to the
// most, each entry overriding the one before unless a file locked it with
// [$i] (on the entry, on its group, or on the whole file, which ends the
// reading). "key[$d]" deletes the entry; localised entries ("key[de]") are
// left out, since no colour is ever translated. A subgroup's name joins its
// parents' with '\x1d', as KConfig's does: "Colors:Header\x1dInactive" is
// [Colors:Header][Inactive]. Values are kept raw, without KConfig's
// backslash escapes, which no colour written by KDE carries.
class KdeGlobals {
public:
    void Read(QByteArrayView text);

    // The value of `key` in `group`; a null array when no file gave one.
    QByteArray Value(QByteArrayView group, QByteArrayView key) const;

private:
    using Key = std::pair<QByteArray, QByteArray>; // group, key
    std::map<Key, QByteArray> values_;
    std::set<Key> lockedKeys_;
    std::set<QByteArray> lockedGroups_;
    bool closed_ = false; // a wholly locked file was read
};

// The colour a kdeglobals value gives, read as KConfig reads a colour:
// "r,g,b" or "r,g,b,a" with each part 0..255, "#rrggbb" or a colour name.
// Nothing for anything else, as KDE gives its default then. The alpha is
// dropped: interface colours are opaque.
std::optional<std::uint32_t> KdeColour(QByteArrayView value);

// kdeglobals as it is now: every file of that name in XDG_CONFIG_HOME and
// XDG_CONFIG_DIRS, the home one most specific. A file is read again when
// it changes, so that a new colour scheme shows at the next call.
const KdeGlobals& CurrentKdeGlobals();

} // namespace platform
