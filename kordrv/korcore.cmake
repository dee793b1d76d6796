# Portable pieces of the driver monitor KorDrv, compiled into the core (included from the root
# CMakeLists.txt after korcore is defined).
target_sources(korcore PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/core/kordrv_cmdline.cpp
    ${CMAKE_CURRENT_LIST_DIR}/core/kordrv_format.cpp
    ${CMAKE_CURRENT_LIST_DIR}/core/kordrv_log.cpp
    ${CMAKE_CURRENT_LIST_DIR}/core/kordrv_status_list.cpp
    ${CMAKE_CURRENT_LIST_DIR}/core/kordrv_texts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/core/kordrv_tune.cpp)
