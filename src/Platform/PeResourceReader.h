#ifndef MINITOOLBARS_PERESOURCEREADER_H
#define MINITOOLBARS_PERESOURCEREADER_H

#include <QString>

#include <cstdint>

namespace MiniToolbars {

// A resource type or name: an integer id, or a string compared case-insensitively.
struct ResourceKey
{
    bool isId = false;
    std::uint16_t id = 0;
    QString name;

    // "#N" is the integer id N (low 16 bits; no digits give 0), anything else a name.
    static ResourceKey fromString(const QString& text);
};

// Finds resources in the resource section of a PE image held in memory. Every
// offset and size is checked against the buffer; anything malformed finds nothing.
class PeResourceReader
{
public:
    PeResourceReader(const unsigned char* data, std::uint64_t size);

    // Walks type, then name, then the first language. On success sets the
    // bytes (a pointer into the buffer) and their size.
    bool find(const ResourceKey& type, const ResourceKey& name,
              const unsigned char** bytes, std::uint32_t* size) const;

private:
    struct Section
    {
        std::uint32_t virtualAddress;
        std::uint32_t virtualSize;
        std::uint32_t rawSize;
        std::uint32_t rawOffset;
    };

    bool parseHeaders();
    // File offset and the bytes available from it inside its section.
    bool rvaToOffset(std::uint32_t rva, std::uint64_t* offset, std::uint64_t* available) const;
    // Offset (from the resource directory start) of the subdirectory or data
    // entry that matches key in the directory at dirOffset.
    bool findEntry(std::uint32_t dirOffset, const ResourceKey* key, std::uint32_t* target, bool* isDirectory) const;
    bool nameMatches(std::uint32_t nameOffset, const QString& name) const;
    bool read16(std::uint64_t offset, std::uint16_t* value) const;
    bool read32(std::uint64_t offset, std::uint32_t* value) const;
    bool readRsrc16(std::uint32_t offset, std::uint16_t* value) const;
    bool readRsrc32(std::uint32_t offset, std::uint32_t* value) const;

    const unsigned char* m_data;
    std::uint64_t m_size;
    bool m_valid;
    std::uint64_t m_rsrcOffset;
    std::uint64_t m_rsrcSize;
    static constexpr int kMaxSections = 96;
    Section m_sections[kMaxSections];
    int m_sectionCount;
};

} // namespace MiniToolbars

#endif
