# Empty custom commands generated dependencies file for kavor-db_autogen.
# This may be replaced when dependencies are built.
