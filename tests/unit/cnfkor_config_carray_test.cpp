// CArray: the growable array the configuration keeps its remote-host tables in.
#include "framework/carray.h"

#include "cnfkor/config/address_assoc.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{

typedef CArray<int, int> IntArray;

std::vector<int> Items(const IntArray& a)
{
    std::vector<int> out;
    for (IntArray::INDEX i = 0; i < a.GetSize(); ++i)
        out.push_back(a.GetAt(i));
    return out;
}

TEST(CnfKorCArray, EditingOperationsInSequence)
{
    IntArray a;
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(-1, a.GetUpperBound());
    EXPECT_EQ(nullptr, a.GetData());

    struct Step {
        const char* what;
        void (*apply)(IntArray&);
        std::vector<int> expected;
    };
    const Step steps[] = {
        {"Add 1,2,3",
         [](IntArray& x) {
             x.Add(1);
             x.Add(2);
             x.Add(3);
         },
         {1, 2, 3}},
        {"InsertAt 0", [](IntArray& x) { x.InsertAt(0, 9); }, {9, 1, 2, 3}},
        {"InsertAt end", [](IntArray& x) { x.InsertAt(4, 7); }, {9, 1, 2, 3, 7}},
        {"InsertAt 2 x3", [](IntArray& x) { x.InsertAt(2, 5, 3); }, {9, 1, 5, 5, 5, 2, 3, 7}},
        {"RemoveAt 2 x3", [](IntArray& x) { x.RemoveAt(2, 3); }, {9, 1, 2, 3, 7}},
        {"RemoveAt last", [](IntArray& x) { x.RemoveAt(4); }, {9, 1, 2, 3}},
        {"SetAt 1", [](IntArray& x) { x.SetAt(1, 4); }, {9, 4, 2, 3}},
        {"operator[]", [](IntArray& x) { x[2] = 6; }, {9, 4, 6, 3}},
        {"ElementAt", [](IntArray& x) { x.ElementAt(3) += 10; }, {9, 4, 6, 13}},
        {"SetSize up", [](IntArray& x) { x.SetSize(6); }, {9, 4, 6, 13, 0, 0}},
        {"SetSize down", [](IntArray& x) { x.SetSize(2); }, {9, 4}},
        {"InsertAt beyond", [](IntArray& x) { x.InsertAt(4, 8); }, {9, 4, 0, 0, 8}},
        {"Insert own element", [](IntArray& x) { x.InsertAt(0, x[4], 2); }, {8, 8, 9, 4, 0, 0, 8}},
        {"RemoveAt count 0", [](IntArray& x) { x.RemoveAt(7, 0); }, {8, 8, 9, 4, 0, 0, 8}},
        {"RemoveAll", [](IntArray& x) { x.RemoveAll(); }, {}},
        {"SetSize negative", [](IntArray& x) { x.SetSize(-3); }, {}},
    };
    for (const Step& s : steps) {
        s.apply(a);
        EXPECT_EQ(s.expected, Items(a)) << s.what;
        EXPECT_EQ(static_cast<IntArray::INDEX>(s.expected.size()), a.GetCount()) << s.what;
    }
}

TEST(CnfKorCArray, AddReturnsIndexCopyAndAppendAreDeep)
{
    IntArray a;
    EXPECT_EQ(0, a.Add(10));
    EXPECT_EQ(1, a.Add(20));
    IntArray b;
    b.Add(99);
    b.Copy(a);
    a[0] = 11;
    EXPECT_EQ((std::vector<int>{10, 20}), Items(b));
    b.Copy(b);
    EXPECT_EQ((std::vector<int>{10, 20}), Items(b));
    EXPECT_EQ(2, b.Append(b));
    EXPECT_EQ((std::vector<int>{10, 20, 10, 20}), Items(b));
    EXPECT_EQ(4, b.Append(a));
    EXPECT_EQ((std::vector<int>{10, 20, 10, 20, 11, 20}), Items(b));
}

TEST(CnfKorCArray, HoldsRemoteHostRecordsByValue)
{
    CArray<_ADDRESSASSOC, _ADDRESSASSOC> table;
    _ADDRESSASSOC host{};
    std::strcpy(host.Id, "HOST1");
    host.Velt = 0x0705;
    host.Ip = 0xC0A8010A;
    table.Add(host);
    std::strcpy(host.Id, "HOST2");
    table.Add(host);
    table.SetSize(3); // the new record is zeroed
    EXPECT_STREQ("HOST1", table[0].Id);
    EXPECT_STREQ("HOST2", table[1].Id);
    EXPECT_STREQ("", table[2].Id);
    EXPECT_EQ(0u, table[2].Ip);
    EXPECT_EQ(0, table[2].UseDNS);
    EXPECT_EQ(0x0705, table.GetAt(1).Velt);
    EXPECT_EQ(table.GetData() + 1, &table.ElementAt(1));
}

#if GTEST_HAS_DEATH_TEST && !defined(_WIN32)
TEST(CnfKorCArrayDeathTest, IndexOutsideTheArrayStopsTheProgram)
{
    IntArray a;
    a.Add(1);
    a.Add(2);
    EXPECT_DEATH(a.GetAt(2), "");
    EXPECT_DEATH(a[-1] = 0, "");
    EXPECT_DEATH(a.SetAt(5, 0), "");
    EXPECT_DEATH(a.RemoveAt(1, 2), "");
    EXPECT_DEATH(a.RemoveAt(3), "");
    EXPECT_DEATH(a.InsertAt(-1, 0), "");
}
#endif

} // namespace
