# The version numbers of both editions, written here and nowhere else. They
# make the version resources, the editions' own descriptions (the About box,
# the mail subject, the update check), the installer's uninstall entry and
# the names of the packages.
#
# VERSION is major.minor.revision, the product version users see; BUILD is
# the fourth number of the binary version; FILE_VERSION is the text of the
# resource's FileVersion, which keeps the older two-digit form.
set(KV_FULL_VERSION 2.2.0)
set(KV_FULL_BUILD 0)
set(KV_FULL_FILE_VERSION 2.02)

set(KV_LOW_VERSION 2.1.1)
set(KV_LOW_BUILD 1)
set(KV_LOW_FILE_VERSION 2.01.0001)
