# Empty custom commands generated dependencies file for kavor_autogen.
# This may be replaced when dependencies are built.
