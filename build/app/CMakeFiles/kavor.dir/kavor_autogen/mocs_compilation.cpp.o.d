app/CMakeFiles/kavor.dir/kavor_autogen/mocs_compilation.cpp.o: \
 /work/main/build/app/kavor_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
