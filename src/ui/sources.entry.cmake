# Text entry, tables, search, popovers and navigation bars.
target_sources(vimora_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/entry_theme.cpp ${CMAKE_CURRENT_LIST_DIR}/entry_theme.h
  ${CMAKE_CURRENT_LIST_DIR}/text_editor.cpp ${CMAKE_CURRENT_LIST_DIR}/text_editor.h
  ${CMAKE_CURRENT_LIST_DIR}/text_field.cpp ${CMAKE_CURRENT_LIST_DIR}/text_field.h
  ${CMAKE_CURRENT_LIST_DIR}/text_view.cpp ${CMAKE_CURRENT_LIST_DIR}/text_view.h
  ${CMAKE_CURRENT_LIST_DIR}/table_view_cell.cpp ${CMAKE_CURRENT_LIST_DIR}/table_view_cell.h
  ${CMAKE_CURRENT_LIST_DIR}/table_view.cpp ${CMAKE_CURRENT_LIST_DIR}/table_view.h
  ${CMAKE_CURRENT_LIST_DIR}/search_bar.cpp ${CMAKE_CURRENT_LIST_DIR}/search_bar.h
  ${CMAKE_CURRENT_LIST_DIR}/popover_panel.cpp ${CMAKE_CURRENT_LIST_DIR}/popover_panel.h
  ${CMAKE_CURRENT_LIST_DIR}/popover.cpp ${CMAKE_CURRENT_LIST_DIR}/popover.h
)
