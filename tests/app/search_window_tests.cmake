trovex_add_test(app_search
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/search_window_test.cpp
  LIBS trovex_app)
