#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>

namespace quorx::zomvara {

// Generates a valid MPEG transport stream: 188-byte packets with a sync byte, a PID and a
// continuity counter per PID, a program association table and a program map table at regular
// intervals, and data packets on one elementary stream.
class TransportStreamGenerator final
{
public:
    static constexpr int kPacketSize = 188;
    static constexpr std::uint16_t kPmtPid = 0x1000;

    // The elementary stream's PID differs per channel so that recordings can be told apart.
    explicit TransportStreamGenerator(std::uint16_t dataPid = 0x100);

    QByteArray NextPackets(int count);
    std::uint16_t DataPid() const { return m_dataPid; }

    // CRC-32 of MPEG-2 sections (polynomial 0x04C11DB7, no reflection).
    static std::uint32_t Crc32(const std::uint8_t* data, int size);

private:
    void AppendSectionPacket(QByteArray& out, std::uint16_t pid, const QByteArray& section);
    void AppendDataPacket(QByteArray& out);
    std::uint8_t NextCounter(std::uint16_t pid);

    std::uint16_t m_dataPid;
    std::uint64_t m_packetsSent = 0;
    std::uint32_t m_payloadSeed = 0x9E3779B9u;
    std::array<std::uint8_t, 0x2000> m_counters{};
};

} // namespace quorx::zomvara
