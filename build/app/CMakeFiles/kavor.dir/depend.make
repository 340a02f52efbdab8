# Empty dependencies file for kavor.
# This may be replaced when dependencies are built.
