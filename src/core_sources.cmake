# The widget-free core, folder by folder and file by file, each folder using only those before it. Each
# folder is a library of its own in the program; pylon-db and the fuzz targets build on the same lists, and
# PYLON_CORE_FILES is all of them.
set(PYLON_CORE_FOLDERS domain store backup lists documents figures module)

# domain: the pure values and texts, Qt Core only, no database: amounts and their words, line amounts,
# totals, dates, the document kinds, CSV text, and the text of search criteria and of record-set sources.
set(PYLON_CORE_DOMAIN_FILES
  domain/amount_text.cpp
  domain/amount_words.cpp
  domain/criteria.cpp
  domain/csv.cpp
  domain/dates.cpp
  domain/kinds.cpp
  domain/line_amounts.cpp
  domain/source_sql.cpp
  domain/totals.cpp)

# store: the file itself, over SQLite: the connection and its statements, errors, the log, the schema, the
# kept totals, field values, record sets, the one write helper, reads on a thread.
set(PYLON_CORE_STORE_FILES
  store/background_read.cpp
  store/database.cpp
  store/db_errors.cpp
  store/field_value.cpp
  store/recordset.cpp
  store/recordset_write.cpp
  store/schema.cpp
  store/sql_functions.cpp
  store/statement.cpp
  store/totals_cache.cpp
  store/wal_log.cpp
  store/write.cpp)

# backup: snapshots and the rule that prunes them, the tables as CSV files, the guards of the files put in
# place, the entries kept while typed and once dropped.
set(PYLON_CORE_BACKUP_FILES
  backup/daily_snapshots.cpp
  backup/file_guard.cpp
  backup/kept_entries.cpp
  backup/snapshot.cpp
  backup/table_csv.cpp)

# lists: the rows of the lists read from the indexes (the documents of a kind, the parties, the clients'
# names) and the counts of the documents.
set(PYLON_CORE_LISTS_FILES
  lists/client_names.cpp
  lists/document_counts.cpp
  lists/listed_documents.cpp
  lists/listed_parties.cpp)

# documents: documents read and written over the store: the entry, a stored document, its display, the first
# one read on a thread, numbering, the lines' rewrite, what a deletion leaves behind, the month's lines.
set(PYLON_CORE_DOCUMENTS_FILES
  documents/document_display.cpp
  documents/document_entry.cpp
  documents/first_document.cpp
  documents/left_behind.cpp
  documents/line_rewrite.cpp
  documents/month_lines.cpp
  documents/numbering.cpp
  documents/stored_document.cpp)

# figures: the document search, the sales figures and the sales ledger, read across every document.
set(PYLON_CORE_FIGURES_FILES
  figures/document_search.cpp
  figures/sales_ledger.cpp
  figures/sales_summary.cpp)

# module: the shared module Module1 the windows work on, the document on screen as data, the reading of
# the file for damage, the preparation of a file, and the writes the commands make, each over the database
# alone: saving, deletion, cancelling, the month-end invoice.
set(PYLON_CORE_MODULE_FILES
  module/cancelling.cpp
  module/damage_check.cpp
  module/entry_keeper.cpp
  module/entry_keeping.cpp
  module/deletion.cpp
  module/module1.cpp
  module/month_end_store.cpp
  module/preparation.cpp
  module/saving.cpp)

set(PYLON_CORE_FILES "")
foreach(folder ${PYLON_CORE_FOLDERS})
  string(TOUPPER ${folder} name)
  list(APPEND PYLON_CORE_FILES ${PYLON_CORE_${name}_FILES})
endforeach()
