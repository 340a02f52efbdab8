# Empty custom commands generated dependencies file for kavor_db_autogen.
# This may be replaced when dependencies are built.
