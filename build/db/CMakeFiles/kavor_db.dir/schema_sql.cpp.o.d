db/CMakeFiles/kavor_db.dir/schema_sql.cpp.o: \
 /work/main/build/db/schema_sql.cpp /usr/include/stdc-predef.h
