#ifndef MINITOOLBARS_TESTS_CRAFTEDMODULE_H
#define MINITOOLBARS_TESTS_CRAFTEDMODULE_H

// Resource-only PE32+ modules built in memory, so that a test or a fuzz target
// can put any bytes under any resource type and name without a resource compiler.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QtEndian>

#include <algorithm>
#include <cstdint>

namespace CraftedModule {

// Type and name are "#N" for the integer id N, anything else a name.
struct Resource
{
    QString type;
    QString name;
    QByteArray bytes;
};

inline void put16(QByteArray& bytes, std::uint32_t at, std::uint16_t value)
{
    qToLittleEndian(value, bytes.data() + at);
}

inline void put32(QByteArray& bytes, std::uint32_t at, std::uint32_t value)
{
    qToLittleEndian(value, bytes.data() + at);
}

inline std::uint32_t alignedTo(std::uint32_t value, std::uint32_t alignment)
{
    return (value + alignment - 1) / alignment * alignment;
}

inline bool isId(const QString& key)
{
    return key.startsWith(QLatin1Char('#'));
}

// One directory at the given offset: named entries first, then ids, as a
// resource compiler lays them out. Each entry points at target, with the high
// bit set for a subdirectory.
inline void writeDirectory(QByteArray& rsrc, std::uint32_t at, QList<QPair<QString, std::uint32_t>> entries,
                           const QHash<QString, std::uint32_t>& strings, bool subdirectories)
{
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& a, const auto& b) { return !isId(a.first) && isId(b.first); });
    const auto named = std::count_if(entries.begin(), entries.end(), [](const auto& e) { return !isId(e.first); });
    put16(rsrc, at + 12, static_cast<std::uint16_t>(named));
    put16(rsrc, at + 14, static_cast<std::uint16_t>(entries.size() - named));
    std::uint32_t entry = at + 16;
    for (const auto& [key, target] : entries) {
        put32(rsrc, entry, isId(key) ? key.mid(1).toUInt() & 0xFFFFu : 0x80000000u | strings.value(key));
        put32(rsrc, entry + 4, subdirectories ? 0x80000000u | target : target);
        entry += 8;
    }
}

// The resource section at the given RVA: type, name and language (1033)
// directories, data entries, name strings, then the bytes.
inline QByteArray resourceSection(const QList<Resource>& resources, std::uint32_t rva)
{
    QList<QString> types;
    QList<QList<int>> byType;
    for (int i = 0; i < resources.size(); ++i) {
        const int t = static_cast<int>(types.indexOf(resources[i].type));
        if (t < 0) {
            types.append(resources[i].type);
            byType.append(QList<int>{ i });
        } else {
            byType[t].append(i);
        }
    }
    const auto n = static_cast<std::uint32_t>(resources.size());
    std::uint32_t offset = 16 + 8 * static_cast<std::uint32_t>(types.size());
    QList<std::uint32_t> nameDirectories;
    for (const QList<int>& members : byType) {
        nameDirectories.append(offset);
        offset += 16 + 8 * static_cast<std::uint32_t>(members.size());
    }
    const std::uint32_t languageDirectories = offset;
    const std::uint32_t dataEntries = languageDirectories + 24 * n;
    offset = dataEntries + 16 * n;
    QHash<QString, std::uint32_t> strings;
    for (const Resource& r : resources) {
        for (const QString& key : {r.type, r.name}) {
            if (!isId(key) && !strings.contains(key)) {
                strings.insert(key, offset);
                offset += 2 + 2 * static_cast<std::uint32_t>(key.size());
            }
        }
    }
    QList<std::uint32_t> dataAt;
    for (const Resource& r : resources) {
        offset = alignedTo(offset, 8);
        dataAt.append(offset);
        offset += static_cast<std::uint32_t>(r.bytes.size());
    }

    QByteArray rsrc(static_cast<int>(alignedTo(offset, 8)), '\0');
    QList<QPair<QString, std::uint32_t>> typeEntries;
    for (int t = 0; t < types.size(); ++t) {
        typeEntries.append({types[t], nameDirectories[t]});
        QList<QPair<QString, std::uint32_t>> nameEntries;
        for (const int i : byType[t])
            nameEntries.append({resources[i].name, languageDirectories + 24 * static_cast<std::uint32_t>(i)});
        writeDirectory(rsrc, nameDirectories[t], nameEntries, strings, true);
    }
    writeDirectory(rsrc, 0, typeEntries, strings, true);
    for (std::uint32_t i = 0; i < n; ++i) {
        writeDirectory(rsrc, languageDirectories + 24 * i, {{QStringLiteral("#1033"), dataEntries + 16 * i}}, strings, false);
        put32(rsrc, dataEntries + 16 * i, rva + dataAt[i]);
        put32(rsrc, dataEntries + 16 * i + 4, static_cast<std::uint32_t>(resources[i].bytes.size()));
        std::copy(resources[i].bytes.begin(), resources[i].bytes.end(), rsrc.begin() + dataAt[i]);
    }
    for (auto it = strings.begin(); it != strings.end(); ++it) {
        put16(rsrc, it.value(), static_cast<std::uint16_t>(it.key().size()));
        for (int c = 0; c < it.key().size(); ++c)
            put16(rsrc, it.value() + 2 + 2 * c, it.key().at(c).unicode());
    }
    return rsrc;
}

// A DLL with one section, .rsrc, that holds the resources.
inline QByteArray module(const QList<Resource>& resources)
{
    constexpr std::uint32_t kFileAlignment = 0x200;
    constexpr std::uint32_t kSectionAlignment = 0x1000;
    constexpr std::uint32_t kPe = 0x40;
    constexpr std::uint32_t kOptional = kPe + 4 + 20;
    constexpr std::uint32_t kOptionalSize = 112 + 16 * 8;
    constexpr std::uint32_t kSectionTable = kOptional + kOptionalSize;
    const QByteArray rsrc = resourceSection(resources, kSectionAlignment);
    const std::uint32_t rawSize = alignedTo(static_cast<std::uint32_t>(rsrc.size()), kFileAlignment);

    QByteArray pe(static_cast<int>(kFileAlignment), '\0');
    pe[0] = 'M';
    pe[1] = 'Z';
    put32(pe, 0x3C, kPe);
    pe.replace(kPe, 4, QByteArray("PE\0\0", 4));
    put16(pe, kPe + 4, 0x8664);            // x86-64
    put16(pe, kPe + 6, 1);                 // one section
    put16(pe, kPe + 20, kOptionalSize);
    put16(pe, kPe + 22, 0x2022);           // a large-address-aware executable DLL
    put16(pe, kOptional, 0x20b);           // PE32+
    put32(pe, kOptional + 32, kSectionAlignment);
    put32(pe, kOptional + 36, kFileAlignment);
    put32(pe, kOptional + 56, kSectionAlignment + alignedTo(rawSize, kSectionAlignment));
    put32(pe, kOptional + 60, kFileAlignment);
    put16(pe, kOptional + 68, 2);          // GUI subsystem
    put32(pe, kOptional + 108, 16);        // data directories
    put32(pe, kOptional + 112 + 2 * 8, kSectionAlignment);
    put32(pe, kOptional + 112 + 2 * 8 + 4, static_cast<std::uint32_t>(rsrc.size()));
    pe.replace(kSectionTable, 8, QByteArray(".rsrc\0\0\0", 8));
    put32(pe, kSectionTable + 8, static_cast<std::uint32_t>(rsrc.size()));
    put32(pe, kSectionTable + 12, kSectionAlignment);
    put32(pe, kSectionTable + 16, rawSize);
    put32(pe, kSectionTable + 20, kFileAlignment);
    put32(pe, kSectionTable + 36, 0x40000040u); // initialised, readable data
    return pe + rsrc + QByteArray(static_cast<int>(rawSize) - rsrc.size(), '\0');
}

} // namespace CraftedModule

#endif
