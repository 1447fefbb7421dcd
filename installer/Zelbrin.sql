# Applied to Zelbrin's MSI after wixl, for what wixl cannot express.
# Every component is a 64-bit one.
UPDATE `Component` SET `Attributes` = 256
# Windows Installer compares only three fields of a version and ignores the
# build number in the fourth (1.0.8.20118): a package of the same three fields
# replaces the installed one instead of being installed beside it.
# (An update may not change a key column, so the row is written anew:
# attributes 513 = migrate features + maximum version inclusive.)
DELETE FROM `Upgrade` WHERE `ActionProperty` = 'WIX_UPGRADE_DETECTED'
INSERT INTO `Upgrade` (`UpgradeCode`, `VersionMax`, `Attributes`, `ActionProperty`) VALUES ('@UPGRADECODE@', '@VERSION@', 513, 'WIX_UPGRADE_DETECTED')
# The older version is removed before anything new is installed (right after
# InstallValidate), not after InstallFinalize as wixl schedules it: removing
# it last lets its uninstall take the new version's registration with it
# (seen with Wine's installer), and an older package would then install over
# the newer one.
UPDATE `InstallExecuteSequence` SET `Sequence` = 1401 WHERE `Action` = 'RemoveExistingProducts'
