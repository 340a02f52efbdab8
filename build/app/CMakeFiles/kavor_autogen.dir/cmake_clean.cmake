file(REMOVE_RECURSE
  "CMakeFiles/kavor_autogen"
  "kavor_autogen/mocs_compilation.cpp"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/kavor_autogen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
