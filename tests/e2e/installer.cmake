# The operator's installer under Wine. It is made by the 32-bit build and is itself a 32-bit
# program, so its tests live in that build only (scripts/test says when they cannot run).
if(TARGET lintavo_installer)
  lintavo_e2e_tests(e2e_installer_tests installer_test.cpp)
  target_link_libraries(e2e_installer_tests PRIVATE lintavo_version version ole32 uuid)
  add_dependencies(e2e_installer_tests lintavo_installer)

  lintavo_wine_test(NAME e2e.installer.install TARGET e2e_installer_tests
                    FILTER "*SilentInstall.*:Setup.*")
  lintavo_wine_test(NAME e2e.installer.run_at_logon TARGET e2e_installer_tests
                    FILTER "RunAtLogon.*" PORTS 2)
  lintavo_wine_test(NAME e2e.installer.upgrade TARGET e2e_installer_tests
                    FILTER "Upgrade.*" PORTS 2 TIMEOUT 240)
  lintavo_wine_test(NAME e2e.installer.uninstall TARGET e2e_installer_tests
                    FILTER "Uninstall.*")
  lintavo_wine_test(NAME e2e.installer.bad_folder TARGET e2e_installer_tests
                    FILTER "*BadFolder.*")
endif()
