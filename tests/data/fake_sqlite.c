/* A stand-in SQLite library for the loader tests: it exports the first
 * FAKE_EXPORT_COUNT entry points of the connection's check order, except
 * FAKE_SKIP_A and FAKE_SKIP_B. Opening records the path it was given and
 * succeeds unless ZORVIA_FAKE_OPEN_FAILS is set; the version text comes from
 * ZORVIA_FAKE_VERSION. Nothing else does any work. */
#include <stdio.h>
#include <stdlib.h>

#define EXPORT __attribute__((visibility("default")))

#ifndef FAKE_SKIP_A
#define FAKE_SKIP_A 0
#endif
#ifndef FAKE_SKIP_B
#define FAKE_SKIP_B 0
#endif
#define WANTED(k) ((k) <= FAKE_EXPORT_COUNT && (k) != FAKE_SKIP_A && (k) != FAKE_SKIP_B)

EXPORT char fake_last_open_path[4096];

#if WANTED(1)
static int fake_db;

EXPORT int sqlite3_open(const char* path, void** db) {
    snprintf(fake_last_open_path, sizeof fake_last_open_path, "%s", path);
    *db = getenv("ZORVIA_FAKE_OPEN_FAILS") != NULL ? NULL : &fake_db;
    return *db == NULL ? 14 : 0;
}
#endif

#if WANTED(2)
EXPORT int sqlite3_close(void* db) {
    (void)db;
    return 0;
}
#endif

#if WANTED(3)
EXPORT int sqlite3_exec(void) {
    return 0;
}
#endif

#if WANTED(4)
EXPORT const char* sqlite3_libversion(void) {
    const char* version = getenv("ZORVIA_FAKE_VERSION");
    return version != NULL ? version : "3.40.0";
}
#endif

#if WANTED(5)
EXPORT const char* sqlite3_errmsg(void* db) {
    (void)db;
    return "fake library";
}
#endif

#if WANTED(6)
EXPORT int sqlite3_get_table(void) {
    return 0;
}
#endif

#if WANTED(7)
EXPORT int sqlite3_free_table(void) {
    return 0;
}
#endif

#if WANTED(8)
EXPORT int sqlite3_free(void) {
    return 0;
}
#endif

#if WANTED(9)
EXPORT int sqlite3_complete(void) {
    return 0;
}
#endif

#if WANTED(10)
EXPORT int sqlite3_last_insert_rowid(void) {
    return 0;
}
#endif

#if WANTED(11)
EXPORT int sqlite3_interrupt(void) {
    return 0;
}
#endif

#if WANTED(12)
EXPORT int sqlite3_busy_timeout(void) {
    return 0;
}
#endif

#if WANTED(13)
EXPORT int sqlite3_busy_handler(void) {
    return 0;
}
#endif

#if WANTED(14)
EXPORT int sqlite3_changes(void) {
    return 0;
}
#endif

#if WANTED(15)
EXPORT int sqlite3_prepare(void) {
    return 0;
}
#endif

#if WANTED(16)
EXPORT int sqlite3_finalize(void) {
    return 0;
}
#endif

#if WANTED(17)
EXPORT int sqlite3_reset(void) {
    return 0;
}
#endif

#if WANTED(18)
EXPORT int sqlite3_step(void) {
    return 0;
}
#endif

#if WANTED(19)
EXPORT int sqlite3_column_blob(void) {
    return 0;
}
#endif

#if WANTED(20)
EXPORT int sqlite3_column_bytes(void) {
    return 0;
}
#endif

#if WANTED(21)
EXPORT int sqlite3_column_bytes16(void) {
    return 0;
}
#endif

#if WANTED(22)
EXPORT int sqlite3_column_count(void) {
    return 0;
}
#endif

#if WANTED(23)
EXPORT int sqlite3_column_decltype(void) {
    return 0;
}
#endif

#if WANTED(24)
EXPORT int sqlite3_column_double(void) {
    return 0;
}
#endif

#if WANTED(25)
EXPORT int sqlite3_column_int(void) {
    return 0;
}
#endif

#if WANTED(26)
EXPORT int sqlite3_column_int64(void) {
    return 0;
}
#endif

#if WANTED(27)
EXPORT int sqlite3_column_name(void) {
    return 0;
}
#endif

#if WANTED(28)
EXPORT int sqlite3_column_text(void) {
    return 0;
}
#endif

#if WANTED(29)
EXPORT int sqlite3_column_text16(void) {
    return 0;
}
#endif

#if WANTED(30)
EXPORT int sqlite3_column_type(void) {
    return 0;
}
#endif

#if WANTED(31)
EXPORT int sqlite3_bind_blob(void) {
    return 0;
}
#endif

#if WANTED(32)
EXPORT int sqlite3_bind_value(void) {
    return 0;
}
#endif

#if WANTED(33)
EXPORT int sqlite3_bind_int(void) {
    return 0;
}
#endif

#if WANTED(34)
EXPORT int sqlite3_bind_double(void) {
    return 0;
}
#endif

#if WANTED(35)
EXPORT int sqlite3_bind_null(void) {
    return 0;
}
#endif

#if WANTED(36)
EXPORT int sqlite3_bind_text(void) {
    return 0;
}
#endif

#if WANTED(37)
EXPORT int sqlite3_bind_text16(void) {
    return 0;
}
#endif

#if WANTED(38)
EXPORT int sqlite3_bind_parameter_count(void) {
    return 0;
}
#endif

#if WANTED(39)
EXPORT int sqlite3_bind_parameter_name(void) {
    return 0;
}
#endif

#if WANTED(40)
EXPORT int sqlite3_create_collation(void* db, const char* name, int encoding, void* context,
                                    void* compare) {
    (void)db, (void)name, (void)encoding, (void)context, (void)compare;
    return 0;
}
#endif
