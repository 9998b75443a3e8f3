#include "Platform/PeResourceReader.h"

#include <set>

namespace MiniToolbars {

namespace {

constexpr std::uint32_t kHighBit = 0x80000000u;
constexpr std::uint32_t kResourceDirectoryIndex = 2;
constexpr std::uint32_t kDirectoryHeaderSize = 16;
constexpr std::uint32_t kDirectoryEntrySize = 8;
constexpr std::uint32_t kDataEntrySize = 16;
constexpr std::uint32_t kSectionHeaderSize = 40;

bool inRange(std::uint64_t offset, std::uint64_t length, std::uint64_t size)
{
    return offset <= size && length <= size - offset;
}

} // namespace

ResourceKey ResourceKey::fromString(const QString& text)
{
    ResourceKey key;
    if (text.startsWith(QLatin1Char('#'))) {
        // Leading decimal digits, saturating like the 32-bit unsigned parse of the
        // original interface; only the low 16 bits name the id.
        std::uint64_t value = 0;
        for (int i = 1; i < text.size() && text.at(i).isDigit() && text.at(i).unicode() < 128; ++i) {
            value = value * 10 + static_cast<std::uint64_t>(text.at(i).unicode() - '0');
            if (value > 0xFFFFFFFFull)
                value = 0xFFFFFFFFull;
        }
        key.isId = true;
        key.id = static_cast<std::uint16_t>(value & 0xFFFFu);
    } else {
        key.name = text;
    }
    return key;
}

PeResourceReader::PeResourceReader(const unsigned char* data, std::uint64_t size)
    : m_data(data)
    , m_size(data ? size : 0)
    , m_valid(false)
    , m_rsrcOffset(0)
    , m_rsrcSize(0)
    , m_sections{}
    , m_sectionCount(0)
{
    m_valid = parseHeaders();
}

bool PeResourceReader::read16(std::uint64_t offset, std::uint16_t* value) const
{
    if (!inRange(offset, 2, m_size))
        return false;
    *value = static_cast<std::uint16_t>(m_data[offset] | (m_data[offset + 1] << 8));
    return true;
}

bool PeResourceReader::read32(std::uint64_t offset, std::uint32_t* value) const
{
    if (!inRange(offset, 4, m_size))
        return false;
    *value = static_cast<std::uint32_t>(m_data[offset]) | (static_cast<std::uint32_t>(m_data[offset + 1]) << 8)
        | (static_cast<std::uint32_t>(m_data[offset + 2]) << 16) | (static_cast<std::uint32_t>(m_data[offset + 3]) << 24);
    return true;
}

bool PeResourceReader::readRsrc16(std::uint32_t offset, std::uint16_t* value) const
{
    return inRange(offset, 2, m_rsrcSize) && read16(m_rsrcOffset + offset, value);
}

bool PeResourceReader::readRsrc32(std::uint32_t offset, std::uint32_t* value) const
{
    return inRange(offset, 4, m_rsrcSize) && read32(m_rsrcOffset + offset, value);
}

bool PeResourceReader::parseHeaders()
{
    if (!m_data || m_size < 64 || m_data[0] != 'M' || m_data[1] != 'Z')
        return false;
    std::uint32_t peOffset = 0;
    if (!read32(0x3C, &peOffset))
        return false;
    if (!inRange(peOffset, 24, m_size) || m_data[peOffset] != 'P' || m_data[peOffset + 1] != 'E'
        || m_data[peOffset + 2] != 0 || m_data[peOffset + 3] != 0)
        return false;

    const std::uint64_t coff = std::uint64_t(peOffset) + 4;
    std::uint16_t sectionCount = 0;
    std::uint16_t optionalSize = 0;
    if (!read16(coff + 2, &sectionCount) || !read16(coff + 16, &optionalSize))
        return false;

    const std::uint64_t optional = coff + 20;
    std::uint16_t magic = 0;
    if (!read16(optional, &magic))
        return false;
    std::uint64_t countOffset = 0;
    if (magic == 0x10b)
        countOffset = 92;
    else if (magic == 0x20b)
        countOffset = 108;
    else
        return false;
    std::uint32_t directoryCount = 0;
    if (!read32(optional + countOffset, &directoryCount) || directoryCount <= kResourceDirectoryIndex)
        return false;
    const std::uint64_t resourceEntry = optional + countOffset + 4 + kResourceDirectoryIndex * 8;
    // The directory entry must lie inside the declared optional header.
    if (resourceEntry + 8 > optional + optionalSize)
        return false;
    std::uint32_t resourceRva = 0;
    std::uint32_t resourceSize = 0;
    if (!read32(resourceEntry, &resourceRva) || !read32(resourceEntry + 4, &resourceSize) || resourceRva == 0)
        return false;

    const std::uint64_t sectionTable = optional + optionalSize;
    if (sectionCount > kMaxSections || !inRange(sectionTable, std::uint64_t(sectionCount) * kSectionHeaderSize, m_size))
        return false;
    for (int i = 0; i < sectionCount; ++i) {
        const std::uint64_t header = sectionTable + std::uint64_t(i) * kSectionHeaderSize;
        Section& s = m_sections[i];
        if (!read32(header + 8, &s.virtualSize) || !read32(header + 12, &s.virtualAddress)
            || !read32(header + 16, &s.rawSize) || !read32(header + 20, &s.rawOffset))
            return false;
    }
    m_sectionCount = sectionCount;

    std::uint64_t available = 0;
    if (!rvaToOffset(resourceRva, &m_rsrcOffset, &available))
        return false;
    // The declared size may understate nothing we rely on: offsets are checked
    // against what the section really holds in the file.
    m_rsrcSize = available;
    if (resourceSize != 0 && resourceSize < m_rsrcSize)
        m_rsrcSize = resourceSize;
    return m_rsrcSize >= kDirectoryHeaderSize;
}

bool PeResourceReader::rvaToOffset(std::uint32_t rva, std::uint64_t* offset, std::uint64_t* available) const
{
    for (int i = 0; i < m_sectionCount; ++i) {
        const Section& s = m_sections[i];
        // Only bytes present in the file count; the virtual tail is zero fill.
        std::uint64_t length = s.rawSize;
        if (s.virtualSize != 0 && s.virtualSize < length)
            length = s.virtualSize;
        if (rva < s.virtualAddress || std::uint64_t(rva) >= std::uint64_t(s.virtualAddress) + length)
            continue;
        const std::uint64_t delta = rva - s.virtualAddress;
        const std::uint64_t start = std::uint64_t(s.rawOffset) + delta;
        if (start >= m_size)
            return false;
        *offset = start;
        std::uint64_t rest = length - delta;
        if (rest > m_size - start)
            rest = m_size - start;
        *available = rest;
        return true;
    }
    return false;
}

bool PeResourceReader::nameMatches(std::uint32_t nameOffset, const QString& name) const
{
    std::uint16_t length = 0;
    if (!readRsrc16(nameOffset, &length))
        return false;
    if (length != name.size())
        return false;
    const std::uint64_t chars = std::uint64_t(nameOffset) + 2;
    if (!inRange(chars, std::uint64_t(length) * 2, m_rsrcSize))
        return false;
    const unsigned char* p = m_data + m_rsrcOffset + chars;
    QString stored(length, Qt::Uninitialized);
    for (int i = 0; i < length; ++i)
        stored[i] = QChar(static_cast<ushort>(p[2 * i] | (p[2 * i + 1] << 8)));
    return stored.compare(name, Qt::CaseInsensitive) == 0;
}

bool PeResourceReader::findEntry(std::uint32_t dirOffset, const ResourceKey* key, std::uint32_t* target,
                                 bool* isDirectory) const
{
    std::uint16_t namedCount = 0;
    std::uint16_t idCount = 0;
    if (!readRsrc16(dirOffset + 12, &namedCount) || !readRsrc16(dirOffset + 14, &idCount))
        return false;
    const std::uint64_t total = std::uint64_t(namedCount) + idCount;
    const std::uint64_t entries = std::uint64_t(dirOffset) + kDirectoryHeaderSize;
    if (!inRange(entries, total * kDirectoryEntrySize, m_rsrcSize))
        return false;

    for (std::uint64_t i = 0; i < total; ++i) {
        const auto entry = static_cast<std::uint32_t>(entries + i * kDirectoryEntrySize);
        std::uint32_t nameField = 0;
        std::uint32_t dataField = 0;
        if (!readRsrc32(entry, &nameField) || !readRsrc32(entry + 4, &dataField))
            return false;
        bool match = false;
        if (!key) {
            match = true; // the first entry, whatever it is
        } else if (nameField & kHighBit) {
            match = !key->isId && nameMatches(nameField & ~kHighBit, key->name);
        } else {
            match = key->isId && nameField == key->id;
        }
        if (match) {
            *isDirectory = (dataField & kHighBit) != 0;
            *target = dataField & ~kHighBit;
            return true;
        }
    }
    return false;
}

bool PeResourceReader::find(const ResourceKey& type, const ResourceKey& name, const unsigned char** bytes,
                            std::uint32_t* size) const
{
    if (!m_valid || !bytes || !size)
        return false;

    // Type, name, then the first language. A directory that points back at one
    // already visited is treated as corrupt.
    std::set<std::uint32_t> visited{0};
    std::uint32_t offset = 0;
    const ResourceKey* keys[3] = {&type, &name, nullptr};
    for (int level = 0; level < 3; ++level) {
        bool isDirectory = false;
        std::uint32_t next = 0;
        if (!findEntry(offset, keys[level], &next, &isDirectory))
            return false;
        const bool last = level == 2;
        if (isDirectory == last)
            return false;
        if (!last) {
            if (!visited.insert(next).second)
                return false;
        }
        offset = next;
    }

    std::uint32_t dataRva = 0;
    std::uint32_t dataSize = 0;
    if (!inRange(offset, kDataEntrySize, m_rsrcSize) || !readRsrc32(offset, &dataRva)
        || !readRsrc32(offset + 4, &dataSize))
        return false;
    std::uint64_t dataOffset = 0;
    std::uint64_t available = 0;
    if (!rvaToOffset(dataRva, &dataOffset, &available) || dataSize > available)
        return false;
    *bytes = m_data + dataOffset;
    *size = dataSize;
    return true;
}

} // namespace MiniToolbars
