// Benchmark of the address services on the mirror request's path: reset the record, fill
// source then destination, build a 130-byte datagram and read its address back.
#include "access/access_services.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace
{

constexpr int kDatagramBytes = 130;
constexpr int kSectionBytes = 5; // 0.1 gate 1 to 0.5 gate 0: no extension list

void BM_MirrorAddressPath(benchmark::State& state)
{
    CAccessServices services;
    std::vector<unsigned char> payload(kDatagramBytes - kSectionBytes);
    payload[0] = 0xFA;
    for (size_t i = 2; i < payload.size(); ++i)
        payload[i] = static_cast<unsigned char>(i - 2);
    std::vector<unsigned char> buffer(1177);
    DTGR_ADR adr;
    DTGR_ADR reply;
    adr.length = sizeof adr;
    reply.length = sizeof reply;

    for (auto _ : state) {
        short rc = services.Init_def_adr(&adr);
        rc |= services.Write_sta(SRCE, &adr, 1);
        rc |= services.Write_net(SRCE, &adr, 0);
        rc |= services.Write_gate(SRCE, &adr, 1);
        rc |= services.Write_sta(DEST, &adr, 5);
        rc |= services.Write_net(DEST, &adr, 0);
        rc |= services.Write_gate(DEST, &adr, 0);
        const short total = services.build(buffer.data(), static_cast<short>(buffer.size()), &adr,
                                           payload.data(), static_cast<short>(payload.size()));
        const unsigned char* data = nullptr;
        const short data_len = services.extract(buffer.data(), total, &reply, &data);
        if (rc != 0 || total != kDatagramBytes || data_len != kDatagramBytes - kSectionBytes) {
            state.SkipWithError("mirror address path failed");
            break;
        }
        benchmark::DoNotOptimize(data);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kDatagramBytes);
}
BENCHMARK(BM_MirrorAddressPath);

} // namespace
