# The widget-free core, file by file: the store over SQLite, the document kinds, dates, amounts and their
# words, the line amounts. The program, pylon-db and the fuzz targets all build on this one list.
set(PYLON_CORE_FILES
  store/amount_text.cpp
  store/amount_words.cpp
  store/criteria.cpp
  store/database.cpp
  store/dates.cpp
  store/db_errors.cpp
  store/document_display.cpp
  store/document_entry.cpp
  store/field_value.cpp
  store/kinds.cpp
  store/line_amounts.cpp
  store/module1.cpp
  store/numbering.cpp
  store/recordset.cpp
  store/recordset_write.cpp
  store/schema.cpp
  store/stored_document.cpp
  store/source_sql.cpp
  store/statement.cpp
  store/totals.cpp
  store/wal_log.cpp
  store/write.cpp)
