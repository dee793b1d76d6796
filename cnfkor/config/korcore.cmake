# Portable pieces of CnfKor's configuration model, compiled into the core (included from the
# root CMakeLists.txt after korcore is defined).
target_sources(korcore PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/kor_reg_layout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/kor_profile_io.cpp)
