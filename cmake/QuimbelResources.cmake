# quimbel_add_resources: embeds files into a library as named resources (see platform/rtl/Resources.h).
