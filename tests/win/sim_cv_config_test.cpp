// The companion-program stand-in records each command line, as the tests of profile handling
// read it.
#include "driver_instance.h"

#include <fstream>
#include <sstream>

TEST(CvConfigStandIn, AppendsEachCommandLine)
{
    KOR_REQUIRE_SIM();
    char dir[MAX_PATH], log[MAX_PATH];
    GetTempPathA(sizeof(dir), dir);
    GetTempFileNameA(dir, "cvc", 0, log);
    DeleteFileA(log);
    SetEnvironmentVariableA("KOR_CV_CONFIG_LOG", log);
    for (const char* args : {"+KOR01", "-KOR09"}) {
        kortest::ChildProcess run;
        ASSERT_TRUE(run.Start(kortest::SimDir() + "\\cv_config.exe", args));
        EXPECT_EQ(0u, run.Wait(10000)) << args;
    }
    SetEnvironmentVariableA("KOR_CV_CONFIG_LOG", nullptr);
    std::ifstream in(log, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    in.close();
    DeleteFileA(log);
    EXPECT_EQ("+KOR01\r\n-KOR09\r\n", text.str());
}
