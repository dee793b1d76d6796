// Export marker of the address services: CnfKor.exe exports CAccessServices, every other
// build (the core library, the tests, the monitor) uses the class as plain code.
#pragma once

#if defined(_WIN32) && defined(KOR_BUILDING_CNFKOR)
#define KOR_ACCESS_API __declspec(dllexport)
#else
#define KOR_ACCESS_API
#endif
