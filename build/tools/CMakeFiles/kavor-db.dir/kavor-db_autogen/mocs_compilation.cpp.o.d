tools/CMakeFiles/kavor-db.dir/kavor-db_autogen/mocs_compilation.cpp.o: \
 /work/main/build/tools/kavor-db_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
