// CAccessServices as another program uses it: through CnfKor.exe's export. This program is
// linked against the tool's import library only (not against the core that also holds the
// class), so every call below goes into CnfKor.exe.
#include "access/access_services.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <vector>

namespace
{
// An executable loaded as another program's dependency is only mapped: the loader neither
// relocates it, nor binds its imports, nor runs its start-up code (executables are loaded
// for their resources; Wine does as Windows). So a program that calls into one does the
// loader's two steps itself before the first call. The exported code needs nothing more: it
// keeps no state and relies on no start-up code.

// Applies the base relocations for the address the executable was mapped at.
bool RelocateExecutable(BYTE* base, IMAGE_NT_HEADERS* nt)
{
    ULONG_PTR delta = reinterpret_cast<ULONG_PTR>(base) - nt->OptionalHeader.ImageBase;
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_BASERELOC];
    if (delta == 0)
        return true;
    if (!dir.VirtualAddress)
        return false; // no relocations: it can only run at its preferred address
    BYTE* pos = base + dir.VirtualAddress;
    BYTE* end = pos + dir.Size;
    while (pos < end) {
        auto* block = reinterpret_cast<IMAGE_BASE_RELOCATION*>(pos);
        if (block->SizeOfBlock < sizeof(*block))
            return false;
        auto* entries = reinterpret_cast<WORD*>(block + 1);
        size_t count = (block->SizeOfBlock - sizeof(*block)) / sizeof(WORD);
        for (size_t i = 0; i < count; ++i) {
            int type = entries[i] >> 12;
            BYTE* target = base + block->VirtualAddress + (entries[i] & 0x0FFF);
            if (type == IMAGE_REL_BASED_ABSOLUTE)
                continue;
            if (type != IMAGE_REL_BASED_HIGHLOW && type != IMAGE_REL_BASED_DIR64)
                return false;
            size_t size = type == IMAGE_REL_BASED_HIGHLOW ? 4 : 8;
            DWORD old = 0;
            ::VirtualProtect(target, size, PAGE_EXECUTE_READWRITE, &old);
            if (size == 4)
                *reinterpret_cast<DWORD*>(target) += static_cast<DWORD>(delta);
            else
                *reinterpret_cast<ULONGLONG*>(target) += delta;
            ::VirtualProtect(target, size, old, &old);
        }
        pos += block->SizeOfBlock;
    }
    return true;
}

// Binds the executable's imports. False when one cannot be found.
bool BindExecutableImports(BYTE* base, IMAGE_NT_HEADERS* nt)
{
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress)
        return true;
    for (auto* desc = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
         desc->Name; ++desc) {
        HMODULE dll = ::LoadLibraryA(reinterpret_cast<const char*>(base + desc->Name));
        if (!dll)
            return false;
        DWORD names = desc->OriginalFirstThunk ? desc->OriginalFirstThunk : desc->FirstThunk;
        auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(base + names);
        auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + desc->FirstThunk);
        for (; name->u1.AddressOfData; ++name, ++slot) {
            FARPROC fn =
                IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)
                    ? ::GetProcAddress(dll, MAKEINTRESOURCEA(IMAGE_ORDINAL(name->u1.Ordinal)))
                    : ::GetProcAddress(dll, reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(
                                                base + name->u1.AddressOfData)
                                                ->Name);
            if (!fn)
                return false;
            DWORD old = 0;
            ::VirtualProtect(&slot->u1.Function, sizeof(slot->u1.Function), PAGE_READWRITE, &old);
            slot->u1.Function = reinterpret_cast<ULONG_PTR>(fn);
            ::VirtualProtect(&slot->u1.Function, sizeof(slot->u1.Function), old, &old);
        }
    }
    return true;
}

class PrepareCnfKor : public ::testing::Environment
{
public:
    void SetUp() override
    {
        HMODULE tool = ::GetModuleHandleW(L"CnfKor.exe");
        ASSERT_NE(nullptr, tool) << "CnfKor.exe is not loaded: the calls would not go through it";
        auto* base = reinterpret_cast<BYTE*>(tool);
        auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(
            base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
        ASSERT_TRUE(RelocateExecutable(base, nt));
        ASSERT_TRUE(BindExecutableImports(base, nt));
    }
};
::testing::Environment* const g_prepare = ::testing::AddGlobalTestEnvironment(new PrepareCnfKor);

// The example datagram: source 0.1 gate 1, destination 0.5 gate 4, type 15, no prefix.
DTGR_ADR ExampleAddress(unsigned char destNet)
{
    DTGR_ADR adr = {};
    adr.length = sizeof(DTGR_ADR);
    adr.type = 15;
    adr.srce_net = 0;
    adr.srce_sta = 1;
    adr.srce_gate = 1;
    adr.dest_net = destNet;
    adr.dest_sta = 5;
    adr.dest_gate = 4;
    return adr;
}

const unsigned char kPayload[] = {0xFA, 0x00, 0x00, 0x01};

TEST(CnfKorExport, TheClassComesFromCnfKorExe)
{
    HMODULE tool = ::GetModuleHandleW(L"CnfKor.exe");
    ASSERT_NE(nullptr, tool);
    EXPECT_NE(nullptr, ::GetProcAddress(tool, "_ZNK15CAccessServices5buildEPhsPK8DTGR_ADRPKhs"));
    EXPECT_NE(nullptr, ::GetProcAddress(tool, "_ZNK15CAccessServices7extractEPKhsP8DTGR_ADRPS1_"));
}

struct BuildCase {
    unsigned char destNet;
    std::vector<unsigned char> wire;
};

class CnfKorExportBuild : public ::testing::TestWithParam<BuildCase>
{
};

TEST_P(CnfKorExportBuild, BuildWritesTheWireFormAndExtractReadsItBack)
{
    CAccessServices services;
    DTGR_ADR adr = ExampleAddress(GetParam().destNet);
    unsigned char buffer[64];
    std::fill(std::begin(buffer), std::end(buffer), 0xCC);
    short n = services.build(buffer, sizeof(buffer), &adr, kPayload, sizeof(kPayload));
    ASSERT_EQ(static_cast<short>(GetParam().wire.size()), n);
    EXPECT_EQ(GetParam().wire, std::vector<unsigned char>(buffer, buffer + n));
    EXPECT_EQ(0xCC, buffer[n]) << "build wrote past its result";

    DTGR_ADR back = {};
    back.length = sizeof(DTGR_ADR);
    const unsigned char* payload = nullptr;
    ASSERT_EQ(static_cast<short>(sizeof(kPayload)), services.extract(buffer, n, &back, &payload));
    EXPECT_EQ(buffer + n - sizeof(kPayload), payload);
    EXPECT_EQ(15, back.type);
    EXPECT_EQ(1, back.srce_sta);
    EXPECT_EQ(1, back.srce_gate);
    EXPECT_EQ(GetParam().destNet, back.dest_net);
    EXPECT_EQ(5, back.dest_sta);
    EXPECT_EQ(4, back.dest_gate);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, CnfKorExportBuild,
    ::testing::Values(BuildCase{0, {0xF0, 0x01, 0x01, 0x05, 0x04, 0xFA, 0x00, 0x00, 0x01}},
                      BuildCase{
                          20, {0xF1, 0x01, 0x01, 0x05, 0x04, 0x39, 0x14, 0xFA, 0x00, 0x00, 0x01}}));

TEST(CnfKorExport, FailuresComeBackAsNegativeCodes)
{
    CAccessServices services;
    DTGR_ADR adr = ExampleAddress(0);
    unsigned char buffer[8]; // one byte short of the 9 the example needs
    EXPECT_EQ(-120, services.build(buffer, sizeof(buffer), &adr, kPayload, sizeof(kPayload)));
    EXPECT_EQ(-120, services.build(buffer, sizeof(buffer), &adr, kPayload, -1));
    // A first list without its last entry within 21 bytes.
    const unsigned char bad[] = {0xF1, 0x01, 0x01, 0x05, 0x04, 0x31, 0x14, 0x31, 0x14,
                                 0x31, 0x14, 0x31, 0x14, 0x31, 0x14, 0x31, 0x14, 0x31,
                                 0x14, 0x31, 0x14, 0x31, 0x14, 0x31, 0x14};
    EXPECT_EQ(-131, services.extract(bad, sizeof(bad), nullptr, nullptr));
}
} // namespace
