#include "TransportStreamGenerator.h"

namespace quorx::zomvara {

namespace {

constexpr int kTablesEvery = 40; // packets between two PAT/PMT pairs
constexpr std::uint16_t kProgramNumber = 1;
constexpr std::uint16_t kTransportStreamId = 1;
constexpr std::uint8_t kPrivateDataStreamType = 0x06;

void AppendCrc(QByteArray& section)
{
    const std::uint32_t crc = TransportStreamGenerator::Crc32(
        reinterpret_cast<const std::uint8_t*>(section.constData()), static_cast<int>(section.size()));
    section.append(static_cast<char>(crc >> 24));
    section.append(static_cast<char>(crc >> 16));
    section.append(static_cast<char>(crc >> 8));
    section.append(static_cast<char>(crc));
}

// table_id, section_syntax_indicator and the 12-bit length (which counts the CRC too).
void AppendSectionHeader(QByteArray& s, std::uint8_t tableId, int bodyLengthWithCrc)
{
    s.append(static_cast<char>(tableId));
    s.append(static_cast<char>(0xB0 | ((bodyLengthWithCrc >> 8) & 0x0F)));
    s.append(static_cast<char>(bodyLengthWithCrc & 0xFF));
}

QByteArray ProgramAssociationTable(std::uint16_t pmtPid)
{
    QByteArray s;
    AppendSectionHeader(s, 0x00, 5 + 4 + 4);
    s.append(static_cast<char>(kTransportStreamId >> 8));
    s.append(static_cast<char>(kTransportStreamId & 0xFF));
    s.append(static_cast<char>(0xC1)); // version 0, current
    s.append('\0');                    // section number
    s.append('\0');                    // last section number
    s.append(static_cast<char>(kProgramNumber >> 8));
    s.append(static_cast<char>(kProgramNumber & 0xFF));
    s.append(static_cast<char>(0xE0 | (pmtPid >> 8)));
    s.append(static_cast<char>(pmtPid & 0xFF));
    AppendCrc(s);
    return s;
}

QByteArray ProgramMapTable(std::uint16_t dataPid)
{
    QByteArray s;
    AppendSectionHeader(s, 0x02, 9 + 5 + 4);
    s.append(static_cast<char>(kProgramNumber >> 8));
    s.append(static_cast<char>(kProgramNumber & 0xFF));
    s.append(static_cast<char>(0xC1));
    s.append('\0');
    s.append('\0');
    s.append(static_cast<char>(0xFF)); // no PCR: 0x1FFF
    s.append(static_cast<char>(0xFF));
    s.append(static_cast<char>(0xF0)); // program_info_length 0
    s.append('\0');
    s.append(static_cast<char>(kPrivateDataStreamType));
    s.append(static_cast<char>(0xE0 | (dataPid >> 8)));
    s.append(static_cast<char>(dataPid & 0xFF));
    s.append(static_cast<char>(0xF0)); // ES_info_length 0
    s.append('\0');
    AppendCrc(s);
    return s;
}

} // namespace

TransportStreamGenerator::TransportStreamGenerator(std::uint16_t dataPid) : m_dataPid(dataPid & 0x1FFF)
{
    if (m_dataPid == 0 || m_dataPid == kPmtPid || m_dataPid == 0x1FFF)
        m_dataPid = 0x100;
}

std::uint32_t TransportStreamGenerator::Crc32(const std::uint8_t* data, int size)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (int i = 0; i < size; ++i) {
        crc ^= static_cast<std::uint32_t>(data[i]) << 24;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    return crc;
}

std::uint8_t TransportStreamGenerator::NextCounter(std::uint16_t pid)
{
    const std::uint8_t c = m_counters[pid];
    m_counters[pid] = static_cast<std::uint8_t>((c + 1) & 0x0F);
    return c;
}

void TransportStreamGenerator::AppendSectionPacket(QByteArray& out, std::uint16_t pid,
                                                   const QByteArray& section)
{
    QByteArray packet(kPacketSize, static_cast<char>(0xFF));
    packet[0] = 0x47;
    packet[1] = static_cast<char>(0x40 | (pid >> 8)); // payload unit start
    packet[2] = static_cast<char>(pid & 0xFF);
    packet[3] = static_cast<char>(0x10 | NextCounter(pid));
    packet[4] = 0; // pointer field
    packet.replace(5, section.size(), section);
    out += packet;
}

void TransportStreamGenerator::AppendDataPacket(QByteArray& out)
{
    const int start = static_cast<int>(out.size());
    out.resize(start + kPacketSize);
    char* p = out.data() + start;
    p[0] = 0x47;
    p[1] = static_cast<char>(m_dataPid >> 8);
    p[2] = static_cast<char>(m_dataPid & 0xFF);
    p[3] = static_cast<char>(0x10 | NextCounter(m_dataPid));
    // Varying payload, so that a recording does not compress to nothing and copies can be told
    // apart from their source.
    for (int i = 4; i < kPacketSize; ++i) {
        m_payloadSeed ^= m_payloadSeed << 13;
        m_payloadSeed ^= m_payloadSeed >> 17;
        m_payloadSeed ^= m_payloadSeed << 5;
        p[i] = static_cast<char>(m_payloadSeed & 0xFF);
    }
}

QByteArray TransportStreamGenerator::NextPackets(int count)
{
    QByteArray out;
    out.reserve(count * kPacketSize);
    for (int i = 0; i < count; ++i) {
        const std::uint64_t n = m_packetsSent++;
        if (n % kTablesEvery == 0)
            AppendSectionPacket(out, 0x0000, ProgramAssociationTable(kPmtPid));
        else if (n % kTablesEvery == 1)
            AppendSectionPacket(out, kPmtPid, ProgramMapTable(m_dataPid));
        else
            AppendDataPacket(out);
    }
    return out;
}

} // namespace quorx::zomvara
